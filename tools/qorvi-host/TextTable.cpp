// Widths from the code points of the UTF-8 text; a malformed sequence counts as one character.
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

void TextTable::Print(std::FILE* out) const
{
    Print(m_rows, out);
}

std::size_t TextTable::DisplayWidth(const std::string& text)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (point >= 0x300 && point <= 0x36F)
            continue;
        const bool wide = (point >= 0x1100 && point <= 0x115F) || (point >= 0x2E80 && point <= 0xA4CF) ||
                          (point >= 0xAC00 && point <= 0xD7A3) || (point >= 0xF900 && point <= 0xFAFF) ||
                          (point >= 0xFE30 && point <= 0xFE4F) || (point >= 0xFF00 && point <= 0xFF60) ||
                          (point >= 0xFFE0 && point <= 0xFFE6) || (point >= 0x20000 && point <= 0x3FFFD);
        width += wide ? 2 : 1;
    }
    return width;
}

void TextTable::Print(const std::vector<std::vector<std::string>>& rows, std::FILE* out)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    for (const auto& row : rows) {
        std::string text;
        for (std::size_t c = 0; c < row.size(); ++c) {
            text += row[c];
            if (c + 1 < row.size())
                text.append(widths[c] - DisplayWidth(row[c]) + 2, ' ');
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        std::fprintf(out, "  %s\n", text.c_str());
    }
}
