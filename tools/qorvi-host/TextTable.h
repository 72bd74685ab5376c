// Rows of texts printed in aligned columns on a terminal, however wide their characters are.
#ifndef QORVI_HOST_TEXTTABLE_H
#define QORVI_HOST_TEXTTABLE_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class TextTable
{
public:
    // Columns a UTF-8 text takes on a terminal: East Asian wide characters take two, combining
    // marks none.
    static std::size_t DisplayWidth(const std::string& text);
    // Each row indented by two blanks, its columns two blanks apart, without trailing blanks.
    static void Print(const std::vector<std::vector<std::string>>& rows, std::FILE* out);
};

#endif
