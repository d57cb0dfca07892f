// libFuzzer's entry for the text-import parser (clang, -fsanitize=fuzzer).
#include "textimportcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ravelin::fuzz::checkTextImport(data, size);
    return 0;
}
