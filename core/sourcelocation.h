#pragma once

// Where an error was made, for the technical details of a message. std::source_location where the
// standard library offers it (GCC, MSVC); clang 14 over Debian 12's libstdc++ lacks the builtin it
// needs, so there the same four answers come from the older builtins, which a default argument
// also evaluates at the caller's site.

#include <version>

#if defined(__cpp_lib_source_location)
#include <source_location>
namespace ravelin {
using SourceLocation = std::source_location;
}
#else
#include <cstdint>
namespace ravelin {
class SourceLocation
{
public:
    static constexpr SourceLocation current(const char *file = __builtin_FILE(),
                                            const char *function = __builtin_FUNCTION(),
                                            std::uint_least32_t line = __builtin_LINE()) noexcept
    {
        SourceLocation here;
        here.m_file = file;
        here.m_function = function;
        here.m_line = line;
        return here;
    }
    constexpr const char *file_name() const noexcept { return m_file; }
    constexpr const char *function_name() const noexcept { return m_function; }
    constexpr std::uint_least32_t line() const noexcept { return m_line; }
    constexpr std::uint_least32_t column() const noexcept { return 0; }

private:
    const char *m_file = "";
    const char *m_function = "";
    std::uint_least32_t m_line = 0;
};
} // namespace ravelin
#endif
