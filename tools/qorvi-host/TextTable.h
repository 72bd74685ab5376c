// Rows of texts printed in aligned columns on a terminal, however wide their characters are: either
// a table built row by row under a header, or rows printed at once.
#ifndef QORVI_HOST_TEXTTABLE_H
#define QORVI_HOST_TEXTTABLE_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class TextTable
{
public:
    explicit TextTable(std::vector<std::string> header);

    // Missing cells are empty; extra cells are dropped.
    void Add(std::vector<std::string> row);
    int Rows() const { return static_cast<int>(m_rows.size()) - 1; }
    // The header and the rows; "-" stands for an empty cell.
    void Print(std::FILE* out) const;

    // Columns a UTF-8 text takes on a terminal: East Asian wide characters take two, combining
    // marks none.
    static std::size_t DisplayWidth(const std::string& text);
    // Each row indented by two blanks, its columns two blanks apart, without trailing blanks.
    static void Print(const std::vector<std::vector<std::string>>& rows, std::FILE* out);

private:
    std::vector<std::vector<std::string>> m_rows;
};

#endif
