// Uses std::filesystem: the host, unlike the library, may know the platform's files directly.
#include "LocalDesignFile.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Utf8(const CSEString& text)
{
    return text().ToUTF8();
}

const char* CadTypeOf(const std::string& extension)
{
    if (extension == ".asm")
        return "assembly";
    if (extension == ".prt")
        return "part";
    if (extension == ".drw")
        return "drawing";
    return "";
}

} // namespace

bool LocalDesignFile::Record(const std::string& path, CSEObjectInfo& object, std::string& error)
{
    const fs::path file(path);
    std::error_code failure;
    const fs::path absolute = fs::absolute(file, failure);
    const fs::path folder = failure ? fs::path() : fs::canonical(absolute.parent_path(), failure);
    if (failure || file.filename().empty()) {
        error = "the file '" + path + "' does not lie in an existing folder";
        return false;
    }
    object.dirName = CSEString(folder.string().c_str());
    object.fileName = CSEString(file.filename().string().c_str());
    object.name = CSEString(file.stem().string().c_str());
    object.type = CSEString(CadTypeOf(file.extension().string()));
    return true;
}

DesignCheckout::Outcome LocalDesignFile::Exchange(CSECommand& command, const std::string& step, std::string& error)
{
    CSEString thinResponse;
    if (command.Execute(thinResponse) != CSE_SUCCESS)
        return DesignCheckout::Outcome::NoAnswer;
    CSEResponse* response = command.GetResponseObject();
    const std::string result = response != nullptr ? Utf8(response->GetResult()) : std::string();
    if (result == "success")
        return DesignCheckout::Outcome::Succeeded;
    const std::string reason = response != nullptr ? Utf8(response->GetReason()) : std::string();
    error = step + " refused: " +
            (!reason.empty() ? reason : result.empty() ? "its answer could not be read (see the library log)"
                                                        : "no reason given");
    return DesignCheckout::Outcome::Failed;
}
