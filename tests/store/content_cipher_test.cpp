#include "store/content_cipher.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/base64.h"

namespace examora {
namespace {

// Computed independently with
//   printf '%s' TEXT | openssl enc -aes-256-cbc -K 347266765b3b2e2c0000…00 -iv 00…00 -base64 -A
struct Vector {
    const char* plain;
    const char* cipher;
};
constexpr Vector kVectors[] = {
    {"单选题：下列哪一项正确？",
     "mWGbJbx630yP8xj5veUI6DqrVyhEipzPx+OXeiJFAyBjOQ34eMWTDUiJZS9c8O5Z"},
    {"Hello", "LTn6tDDFTaJnK/of60jIIw=="},
    {"", "l89bG6Udu3r26ATmU73QMA=="},
    {"0123456789abcdef", "vglmNdqxfwNT2ziuqq/j30CVih/V+5eigb1Lz8uNfA0="},
};

TEST(ContentCipher, MatchesVectorsOfAnIndependentTool) {
    for (const Vector& v : kVectors) {
        SCOPED_TRACE(v.plain);
        EXPECT_EQ(ContentCipher::encipher(v.plain), std::string(v.cipher));
        EXPECT_EQ(ContentCipher::decipher(v.cipher), std::string(v.plain));
    }
}

TEST(ContentCipher, RoundTripsEveryLengthAroundTheBlockSize) {
    // Alternating directions and lengths also proves that the reused per-thread contexts are
    // fully reset between texts.
    std::string text;
    for (int n = 0; n <= 70; ++n) {
        std::optional<std::string> c = ContentCipher::encipher(text);
        ASSERT_TRUE(c);
        EXPECT_EQ(base64Decode(*c)->size(), (text.size() / 16 + 1) * 16);
        EXPECT_EQ(ContentCipher::decipher(*c), text) << "length " << n;
        text += static_cast<char>('a' + n % 26);
    }
    std::string longText;
    for (int i = 0; i < 2000; ++i)
        longText += "解析：根据《会计法》的规定，";
    EXPECT_EQ(ContentCipher::decipher(*ContentCipher::encipher(longText)), longText);
}

TEST(ContentCipher, MalformedCiphertextGivesNulloptAndLeavesTheCipherUsable) {
    const std::string good = kVectors[3].cipher;
    Bytes twoBlocks = *base64Decode(good);
    Bytes firstBlockOnly(twoBlocks.begin(), twoBlocks.begin() + 16);  // plain block: bad padding
    Bytes notWholeBlocks(twoBlocks.begin(), twoBlocks.begin() + 15);

    const std::string bad[] = {
        "",                            // no bytes at all
        "这不是密文",                  // not Base64
        "LTn6tDDFTaJnK/of60jIIw",      // Base64 without its padding
        "LTn6tDDF TaJnK/of60jIIw==",   // stray blank
        base64Encode(notWholeBlocks),  // not a whole number of blocks
        base64Encode(firstBlockOnly),  // decrypts, but the padding is wrong
        "Hello, world",                // plain text stored where a cipher was expected
    };
    for (const std::string& b : bad) {
        EXPECT_EQ(ContentCipher::decipher(b), std::nullopt) << b;
        EXPECT_EQ(ContentCipher::decipher(good), std::string(kVectors[3].plain));
    }
    EXPECT_EQ(ContentCipher::decrypt(nullptr, 0), std::nullopt);
}

TEST(ContentCipher, PlaintextThatIsNotUtf8GivesNullopt) {
    const std::string notText[] = {
        "\xff\xfe",          // bytes that never start a character
        "abc\xe4\xb8",       // a character cut short
        "\xc0\xaf",          // an overlong form of "/"
        "\xed\xa0\x80",      // a surrogate
        "\xf4\x90\x80\x80",  // beyond U+10FFFF
        "\xe4\x41\x41",      // a lead byte followed by no continuation
    };
    for (const std::string& plain : notText) {
        const std::optional<std::string> c = ContentCipher::encipher(plain);
        ASSERT_TRUE(c);
        EXPECT_EQ(ContentCipher::decipher(*c), std::nullopt) << *c;
    }
    const std::string text = "\xf0\x9f\x98\x80 题\x7f";
    EXPECT_EQ(ContentCipher::decipher(*ContentCipher::encipher(text)), text);
}

TEST(ContentCipher, ThreadsCipherIndependently) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 300; ++i) {
                std::string text = "线程" + std::to_string(t) + "题目" + std::to_string(i);
                if (ContentCipher::decipher(*ContentCipher::encipher(text)) != text) ++failures[t];
            }
        });
    }
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace examora
