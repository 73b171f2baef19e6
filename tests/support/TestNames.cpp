#include "TestNames.h"

#include <cctype>

std::string TestNameFromText(std::string_view text)
{
    constexpr std::size_t longest = 48;
    std::string name;
    bool gap = false;
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            if (gap && !name.empty())
                name += '_';
            gap = false;
            name += c;
        } else {
            gap = true;
        }
        if (name.size() >= longest)
            break;
    }
    return name.empty() ? std::string("Blank") : name;
}

std::string IndexedTestName(std::size_t index, std::string_view text)
{
    std::string name = std::to_string(index);
    if (name.size() < 2)
        name.insert(0, 1, '0');
    return name + '_' + TestNameFromText(text);
}
