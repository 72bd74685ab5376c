// MOCK_ArgumentFiles: whole argument files in one call, for the per-call recorders.
#ifndef QORVI_CAPTURE_MOCK_ARGUMENTFILES_H
#define QORVI_CAPTURE_MOCK_ARGUMENTFILES_H

#include <initializer_list>
#include <utility>

#include "CSEString.h"
#include "DVKUnicodeString.h"

class MOCK_ArgumentFiles
{
public:
    typedef std::pair<const char16_t*, DVKUnicodeString> Saved;
    typedef std::pair<const char16_t*, DVKUnicodeString*> Wanted;

    // Writes file: root element root with one child per argument, in order. Returns 0 or E_FAIL.
    static int Save(const DVKUnicodeString& file, const char16_t* root, std::initializer_list<Saved> arguments);
    // Reads the wanted arguments of file (each must be there). Returns 0 or E_FAIL.
    static int Retrieve(const DVKUnicodeString& file, std::initializer_list<Wanted> arguments);
    // Reads one integer argument of file. Returns 0 or E_FAIL.
    static int RetrieveInteger(const DVKUnicodeString& file, const char16_t* name, int& value);

    // "TRUE" or "FALSE".
    static DVKUnicodeString Cmd(bool value);
    // The value of a recorded "Cmd"; anything but "TRUE" or "FALSE" is a fatal assertion.
    static bool ParseCmd(const DVKUnicodeString& text);
    // A recorded text with every password value masked, as the logs show it.
    static DVKUnicodeString Masked(const CSEString& text);
    static DVKUnicodeString Decimal(int value);
};

#endif
