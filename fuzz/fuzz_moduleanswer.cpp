// The radio module's answers: any burst of text.
#include "fuzzinput.h"

#include "params/moduleanswer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const ModuleAnswer answer = parseModuleAnswer(input.rest());
    // An index is two hex digits: 00 to FF, never negative.
    FUZZ_CHECK(answer.index >= 0 && answer.index <= 0xFF);
    if (answer.kind == ModuleAnswer::DevEui || answer.kind == ModuleAnswer::AppEui)
        FUZZ_CHECK(answer.text.size() <= 16);
    if (answer.kind == ModuleAnswer::AppKey)
        FUZZ_CHECK(answer.text.size() <= 32);
    answer.counted();
    return 0;
}
