#pragma once

#include <cstddef>
#include <cstdint>

namespace ravelin::fuzz {

// One input of the text-import parser: the first byte chooses the file's layout (even: a
// measuring device's log list, odd: a loader's list), the rest is the file. Aborts, naming the
// broken rule, when a log has a measure that is not finite, when an error or a log names a line
// the file does not have, or when the same text written in another encoding reads differently.
void checkTextImport(const std::uint8_t *data, std::size_t size);

} // namespace ravelin::fuzz
