#include <tern/KvHttpAuthorization.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// RFC 2617, section 3.5.
const char kRfcExample[] =
    "Digest username=\"Mufasa\", realm=\"testrealm@host.com\", nonce=\"dcd98b7102dd2f0e8b11d0f600bfb0c093\", "
    "uri=\"/dir/index.html\", qop=auth, nc=00000001, cnonce=\"0a4f113b\", "
    "response=\"6629fae49393a05397450978507c4ef1\", opaque=\"5ccc069c403ebaf9f0171e9517f40e41\"";

KvHttpAuthorization Parsed(const char* value, int method = 2) {
    KvHttpAuthorization a;
    a.Parse(value);
    a.SetMethod(method);
    return a;
}

TEST(KvHttpAuthorizationTest, RfcExampleGivesThePublishedResponse) {
    const KvHttpAuthorization a = Parsed(kRfcExample);
    EXPECT_EQ(a.Scheme(), KvHttpAuthorization::kDigest);
    EXPECT_STREQ(a.UserName().c_str(), "Mufasa");
    EXPECT_STREQ(a.URI().c_str(), "/dir/index.html");
    EXPECT_EQ(a.NC(), 1u);
    EXPECT_EQ(a.QOp(), KvHttpAuthorization::kQopAuth);
    KvString response;
    a.DigestCalcResponse("Circle Of Life", nullptr, response);
    EXPECT_STREQ(response.c_str(), "6629fae49393a05397450978507c4ef1");
    EXPECT_TRUE(a.Check("Circle Of Life", nullptr, KvHttpAuthorization::kAllowDigest));
}

TEST(KvHttpAuthorizationTest, DigestCheckRejectsWrongSecretsAndSchemes) {
    EXPECT_FALSE(Parsed(kRfcExample).Check("Circle of Life", nullptr, 1));
    EXPECT_FALSE(Parsed(kRfcExample).Check("", nullptr, 1));
    EXPECT_FALSE(Parsed(kRfcExample, 3).Check("Circle Of Life", nullptr, 1));  // PUT, not GET
    EXPECT_TRUE(Parsed(kRfcExample).Check("Circle Of Life", nullptr, KvHttpAuthorization::kAllowBasic));
    EXPECT_FALSE(Parsed(kRfcExample).Check("Circle Of Life", nullptr, 0));
    EXPECT_FALSE(Parsed("Digest username=\"Mufasa\", realm=\"testrealm@host.com\"").Check("", nullptr, 1));
}

TEST(KvHttpAuthorizationTest, BasicSplitsAtTheFirstColon) {
    // "Aladdin:open:sesame"
    const KvHttpAuthorization a = Parsed("Basic QWxhZGRpbjpvcGVuOnNlc2FtZQ==");
    EXPECT_EQ(a.Scheme(), KvHttpAuthorization::kBasic);
    EXPECT_STREQ(a.UserName().c_str(), "Aladdin");
    EXPECT_STREQ(a.Nonce().c_str(), "open:sesame");
    EXPECT_TRUE(a.Check("open:sesame", nullptr, KvHttpAuthorization::kAllowBasic));
    EXPECT_FALSE(a.Check("open:sesame", nullptr, KvHttpAuthorization::kAllowDigest));
    EXPECT_FALSE(a.Check("open:sesam", nullptr, KvHttpAuthorization::kAllowBasic));
    EXPECT_FALSE(a.Check("open:sesame!", nullptr, KvHttpAuthorization::kAllowBasic));
}

// A Basic header that does not decode must never pass, not even an empty password.
TEST(KvHttpAuthorizationTest, UndecodableBasicNeverMatches) {
    for (const char* value : {"Basic !!!!", "Basic bm9jb2xvbg==" /* "nocolon" */, "Basic "}) {
        const KvHttpAuthorization a = Parsed(value);
        EXPECT_EQ(a.Scheme(), KvHttpAuthorization::kBasic) << value;
        EXPECT_TRUE(a.UserName().IsEmpty()) << value;
        EXPECT_FALSE(a.Check("", nullptr, KvHttpAuthorization::kAllowBasic)) << value;
    }
}

TEST(KvHttpAuthorizationTest, DigestParameterForms) {
    const KvHttpAuthorization unquoted = Parsed("Digest username=Mufasa, realm=\"r\"");
    EXPECT_TRUE(unquoted.UserName().IsEmpty());
    EXPECT_STREQ(unquoted.Realm().c_str(), "r");

    const KvHttpAuthorization escaped = Parsed("Digest username=\"a\\\"b,c\",uri=\"/x,y\", nc=0000000a, qop=\"auth-int\"");
    EXPECT_STREQ(escaped.UserName().c_str(), "a\"b,c");
    EXPECT_STREQ(escaped.URI().c_str(), "/x,y");
    EXPECT_EQ(escaped.NC(), 10u);
    EXPECT_EQ(escaped.QOp(), KvHttpAuthorization::kQopAuthInt);

    // A challenge offering both qualities: the client takes plain auth.
    EXPECT_EQ(Parsed("Digest realm=\"r\", qop=\"auth,auth-int\", nonce=\"n\"").QOp(), KvHttpAuthorization::kQopAuth);
    EXPECT_EQ(Parsed("Bearer abc").Scheme(), KvHttpAuthorization::kOther);
    EXPECT_EQ(Parsed("Digest broken=\"unterminated").Scheme(), KvHttpAuthorization::kDigest);
}

// What our client sends, our server accepts; the nonce count goes up per request.
TEST(KvHttpAuthorizationTest, ClientCredentialsPassTheServerCheck) {
    KvHttpAuthorization client;
    client.Parse("Digest realm=\"files\", qop=\"auth\", nonce=\"abc123\", opaque=\"op\"");
    for (std::uint32_t round = 1; round <= 2; ++round) {
        client.SetMethod(3);
        client.UpdateDigest("/dir/a b.txt", nullptr, "user", "secret");
        KvString line;
        client.DigestOutput(line);
        ASSERT_TRUE(line.StartsWith("Authorization: Digest username=\"user\", realm=\"files\", nonce=\"abc123\", "
                                    "uri=\"/dir/a b.txt\", qop=\"auth\", nc=0000000"));
        EXPECT_TRUE(line.EndsWith("\", opaque=\"op\""));
        EXPECT_EQ(client.NC(), round);

        KvHttpAuthorization server;
        server.Parse(line.c_str() + std::strlen("Authorization: "));
        server.SetMethod(3);
        EXPECT_EQ(server.NC(), round);
        EXPECT_TRUE(server.Check("secret", nullptr, 1));
        EXPECT_FALSE(server.Check("Secret", nullptr, 1));
    }
}

TEST(KvHttpAuthorizationTest, AuthIntCoversTheEntityHash) {
    KvHttpAuthorization client;
    client.Parse("Digest realm=\"r\", nonce=\"n\"");
    client.SetMethod(4);
    client.UpdateDigest("/post", "0123456789abcdef0123456789abcdef", "u", "p");
    EXPECT_EQ(client.QOp(), KvHttpAuthorization::kQopAuthInt);
    KvString line;
    client.DigestOutput(line);
    EXPECT_EQ(line.Find("opaque"), -1) << "no opaque was offered, so none is sent";
    KvHttpAuthorization server;
    server.Parse(line.c_str() + 15);
    server.SetMethod(4);
    EXPECT_TRUE(server.Check("p", "0123456789abcdef0123456789abcdef", 1));
    EXPECT_FALSE(server.Check("p", "ffffffffffffffffffffffffffffffff", 1));
}

// Quoted values are written as RFC 7616 quoted strings, so the server reads back what
// the client hashed.
TEST(KvHttpAuthorizationTest, DigestOutputEscapesQuotedStrings) {
    KvHttpAuthorization client;
    client.Parse("Digest realm=\"a\\\"b\\\\c\", qop=\"auth\", nonce=\"n\\\"1\", opaque=\"o\\\"p\"");
    ASSERT_STREQ(client.Realm().c_str(), "a\"b\\c");
    client.SetMethod(2);
    client.UpdateDigest("/x", nullptr, "us\"er", "p");
    KvString line;
    client.DigestOutput(line);
    EXPECT_NE(line.Find("username=\"us\\\"er\", realm=\"a\\\"b\\\\c\", nonce=\"n\\\"1\""), -1) << line.c_str();
    KvHttpAuthorization server;
    server.Parse(line.c_str() + std::strlen("Authorization: "));
    server.SetMethod(2);
    EXPECT_STREQ(server.UserName().c_str(), "us\"er");
    EXPECT_STREQ(server.Realm().c_str(), "a\"b\\c");
    EXPECT_STREQ(server.Opaque().c_str(), "o\"p");
    EXPECT_TRUE(server.Check("p", nullptr, KvHttpAuthorization::kAllowDigest));
}

}  // namespace
