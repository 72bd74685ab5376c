// CSECheckoutPath: the safety rules for folders and file names of a checkout response.
#include "designdata/CSECheckoutPath.h"

#include <string>

#include "CSELogger.h"
#include "CSEUtil.h"
#include "CSEWrapperStringVector.h"

namespace {

const std::u16string& Units(const CSEString& text)
{
    return text().Text();
}

bool IsSeparator(char16_t unit)
{
    return unit == u'/' || unit == u'\\';
}

bool IsDotStep(const std::u16string& text, std::size_t begin, std::size_t end)
{
    const std::size_t length = end - begin;
    return (length == 1 || length == 2) && text.compare(begin, length, std::u16string(length, u'.')) == 0;
}

} // namespace

bool CSECheckoutPath::IsSafeFileName(const CSEString& fileName)
{
    const std::u16string& units = Units(fileName);
    if (units.empty() || IsDotStep(units, 0, units.size()))
        return false;
    for (char16_t unit : units) {
        if (IsSeparator(unit) || unit == u'\0')
            return false;
    }
    return true;
}

bool CSECheckoutPath::IsSafeFolder(const CSEString& folder)
{
    const std::u16string& units = Units(folder);
    if (units.empty())
        return true;
    if (units.front() != u'/' || units.find(u'\0') != std::u16string::npos)
        return false;
    std::size_t begin = 0;
    for (std::size_t at = 0; at <= units.size(); ++at) {
        if (at < units.size() && !IsSeparator(units[at]))
            continue;
        if (IsDotStep(units, begin, at))
            return false;
        begin = at + 1;
    }
    return true;
}

bool CSECheckoutPath::AreSafeFileNames(const CSEString& fileNames)
{
    CSEWrapperStringVector names;
    if (CSEUtil::GetTokenizedArray(fileNames, CSEString(u"|"), names) == 0)
        return false;
    for (int i = 0; i < names.Size(); ++i) {
        if (!IsSafeFileName(names[i]))
            return false;
    }
    return true;
}

bool CSECheckoutPath::Join(const CSEString& folder, const CSEString& fileName, const CSEString& cadId, CSEString& path)
{
    path.clear();
    if (!IsSafeFolder(folder) || !IsSafeFileName(fileName)) {
        CSELogger::LogMsg(3, u"[CSECheckoutPath::Join] No path is made for the object '" + cadId +
                                 u"': the folder '" + folder + u"' or the file name '" + fileName +
                                 u"' would place its file outside its folder");
        return false;
    }
    if (folder.size() == 0) {
        path = fileName;
        return true;
    }
    path = folder;
    CSEUtil::AppendSlash(path);
    path += fileName;
    return true;
}

CSEString CSECheckoutPath::WithExtension(const CSEString& name, const CSEString& extension)
{
    if (extension.size() == 0)
        return name;
    return name + u"." + extension;
}
