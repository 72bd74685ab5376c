// The host's collection of integers; positions are 1-based.
#include "DVKRawCollint.h"

#include <algorithm>

#include "host/DVKFatal.h"

int DVKRawCollint::Append(int value)
{
    m_values.push_back(value);
    return Size();
}

int& DVKRawCollint::operator[](int position)
{
    DVK_ASSERT(position >= 1 && position <= Size());
    return m_values[static_cast<std::size_t>(position - 1)];
}

int DVKRawCollint::operator[](int position) const
{
    DVK_ASSERT(position >= 1 && position <= Size());
    return m_values[static_cast<std::size_t>(position - 1)];
}

int DVKRawCollint::Locate(int value, int start) const
{
    for (int position = std::max(start, 1); position <= Size(); ++position)
        if (m_values[static_cast<std::size_t>(position - 1)] == value)
            return position;
    return 0;
}
