// A plain text table for the terminal: a header row and rows of cells, each column as wide as its
// widest cell.
#ifndef QORVI_HOST_TEXTTABLE_H
#define QORVI_HOST_TEXTTABLE_H

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
    // Each row indented by two blanks; "-" stands for an empty cell.
    void Print(std::FILE* out) const;

private:
    // Columns of UTF-8 text: a character counts once, whatever its bytes.
    static std::size_t Width(const std::string& text);

    std::vector<std::vector<std::string>> m_rows;
};

#endif
