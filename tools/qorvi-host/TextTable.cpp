// Prints rows of cells in aligned columns.
#include "TextTable.h"

#include <algorithm>

TextTable::TextTable(std::vector<std::string> header)
{
    m_rows.push_back(std::move(header));
}

void TextTable::Add(std::vector<std::string> row)
{
    row.resize(m_rows.front().size());
    for (std::string& cell : row) {
        if (cell.empty())
            cell = "-";
    }
    m_rows.push_back(std::move(row));
}

std::size_t TextTable::Width(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

void TextTable::Print(std::FILE* out) const
{
    std::vector<std::size_t> widths(m_rows.front().size(), 0);
    for (const std::vector<std::string>& row : m_rows) {
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], Width(row[column]));
    }
    for (const std::vector<std::string>& row : m_rows) {
        std::string line = " ";
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += " " + row[column];
            if (column + 1 < row.size())
                line.append(widths[column] - Width(row[column]), ' ');
        }
        std::fprintf(out, "%s\n", line.c_str());
    }
}
