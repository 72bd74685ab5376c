// CSEXMLNodePath: the top-level shape of a node path, as far as the packet's evaluation shortcuts
// need it.
#ifndef QORVI_XML_CSEXMLNODEPATH_H
#define QORVI_XML_CSEXMLNODEPATH_H

#include <cstddef>
#include <string>
#include <vector>

// Only a plain location path is split into steps: steps joined by "/" or "//", with no union,
// blank or literal outside brackets, and no empty step. Any other expression (a union, a filter
// expression, a function call, text that is not well-formed UTF-16) stays whole: the packet leaves
// it to the XPath evaluator. Splitting does not check the syntax inside the steps.
class CSEXMLNodePath
{
public:
    enum class Separator
    {
        None,      // the first step of a relative path
        Child,     // "/"
        Descendant // "//"
    };

    struct Predicate
    {
        std::size_t begin = 0; // the "[" in the path
        std::size_t end = 0;   // one past the "]"
        std::u16string text;   // what stands between the brackets
    };

    struct Step
    {
        Separator separator = Separator::None;
        std::size_t start = 0; // where the step begins, its separator included
        std::size_t end = 0;   // one past its last character
        // A name test ("*" or a name without prefix) on the child axis followed only by
        // predicates, as in "cadobject[@cadid='x'][2]".
        bool named = false;
        std::u16string name;
        std::vector<Predicate> predicates;
    };

    explicit CSEXMLNodePath(const std::u16string& path);

    bool IsSplit() const { return !m_steps.empty(); }
    const std::vector<Step>& Steps() const { return m_steps; }

    // A predicate that is a number literal of digits only ("3"): the position it selects.
    // Positions beyond the range of size_t read as the largest value.
    static bool IsPosition(const std::u16string& predicate, std::size_t& position);
    // A predicate that compares an attribute with a literal, as "@cadid='x'" or "@cadid=\"x\"".
    // The name has no prefix and is not a namespace declaration.
    static bool IsAttributeTest(const std::u16string& predicate, std::u16string& name,
                                std::u16string& value, char16_t& quote);

private:
    bool Split(const std::u16string& path);
    static void ParseNamed(const std::u16string& path, Step& step);

    std::vector<Step> m_steps;
};

#endif
