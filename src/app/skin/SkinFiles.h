#pragma once
// Read access to the files of the skin (layouts, pictures, translations) by their path inside the
// skin, such as "Lang\English\StringResource.lng". Paths ignore case and take '\' or '/' alike.
#include "platform/ports/Status.h"

#include <string>
#include <string_view>

class SkinFiles {
public:
    virtual ~SkinFiles() = default;
    // The whole file into `bytes`. ERROR_FILE_NOT_FOUND when the skin has no such file,
    // ERROR_INVALID_DATA when it cannot be read back intact.
    virtual ports::Status read(std::wstring_view path, std::string& bytes) const = 0;
};
