// Arbitrary bytes as a client's request stream: the head reader takes one head from
// them in uneven pieces, and the parser reads it.
#include "internal/MemoryStream.h"

#include <tern/KvHttpHeadReader.h>
#include <tern/KvHttpRequest.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int piece = 1 + data[0] % 64;
    tern_internal::MemoryStream stream(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), piece);
    static char buffer[8192];
    for (int round = 0; round < 4; ++round) {
        int length = 0;
        if (KvHttpHeadReader::Read(stream, buffer, sizeof buffer - 1, length, KvHttpHeadReader::NowMs() + 1000) !=
            KvHttpHeadReader::kComplete)
            break;
        KvHttpRequest request;
        if (request.Parse(buffer, length)) {
            volatile int sink = request.URI().Length() + request.Authorization().UserName().Length() +
                                request.MethodName().Length() + (request.IsHead() ? 1 : 0);
            (void)sink;
        } else if (request.ErrorStatus() != 400 && request.ErrorStatus() != 414) {
            __builtin_trap();  // every refused head must say how to answer it
        }
    }
    // The parser alone, on the raw bytes as a NUL-free or length-given text.
    KvHttpRequest direct;
    direct.Parse(reinterpret_cast<const char*>(data), static_cast<int>(size));
    return 0;
}
