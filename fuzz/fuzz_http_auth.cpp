// Arbitrary header values for the Authorization parser, then the checks that use
// what it read.
#include <tern/KvHttpAuthorization.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    KvHttpAuthorization a;
    a.Parse(value.c_str());
    a.SetMethod(static_cast<int>(size % 5));
    a.Check("password", "0123456789abcdef0123456789abcdef", 3);
    KvString line;
    a.UpdateDigest("/uri", nullptr, "user", "password");
    a.DigestOutput(line);
    return 0;
}
