// Content cipher throughput over the titles of the large synthetic course, against plain
// OpenSSL EVP loops over the same ciphertexts, and the time to generate and write that course.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "lib/course_generator.h"
#include "platform/base64.h"
#include "store/content_cipher.h"
#include "store/sqlite_handles.h"

namespace examora {
namespace {

std::string benchDir() {
    static const std::string dir = [] {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "examora-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) throw std::runtime_error("no temporary directory");
        return tmpl;
    }();
    return dir;
}

// The stored titles of the largest selected course (L unless EXAMORA_BENCH_SIZE says
// otherwise), generated once per process.
const std::vector<std::string>& titles() {
    static const std::vector<std::string> all = [] {
        const std::string path = CourseGenerator::installTemplate(benchDir() + "/titles.db");
        CourseGenerator().generate(path, 1, CourseSize::largestSelected(), 1'796'000'000);
        sqlite3* raw = nullptr;
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
        SqliteHandlePtr db(raw);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db.get(), "select ctitle from coursesubject order by isubjectid", -1,
                           &st, nullptr);
        SqliteStatementPtr stmt(st);
        std::vector<std::string> out;
        while (sqlite3_step(st) == SQLITE_ROW)
            out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        return out;
    }();
    return all;
}

std::int64_t totalBytes(const std::vector<std::string>& texts) {
    std::int64_t n = 0;
    for (const std::string& t : texts)
        n += static_cast<std::int64_t>(t.size());
    return n;
}

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

void BM_Decipher_ContentCipher(benchmark::State& state) {
    const auto& all = titles();
    for (auto _ : state) {
        for (const std::string& t : all) {
            std::optional<std::string> plain = ContentCipher::decipher(t);
            benchmark::DoNotOptimize(plain);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(all.size()));
    state.SetBytesProcessed(state.iterations() * totalBytes(all));
}

// Raw EVP, Base64 included: OpenSSL's own decoder, one context keyed afresh for every title.
void BM_Decipher_RawEvpWithBase64(benchmark::State& state) {
    const auto& all = titles();
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    const unsigned char iv[16] = {};
    std::vector<unsigned char> bytes;
    std::vector<unsigned char> out;
    for (auto _ : state) {
        for (const std::string& t : all) {
            bytes.resize(t.size() / 4 * 3);
            int n = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(t.data()),
                                    static_cast<int>(t.size()));
            if (!t.empty() && t.back() == '=') --n;
            if (t.size() > 1 && t[t.size() - 2] == '=') --n;
            out.resize(static_cast<std::size_t>(n) + 16);
            int len = 0, tail = 0;
            EVP_DecryptInit_ex2(ctx.get(), EVP_aes_256_cbc(), ContentCipher::key(), iv, nullptr);
            EVP_DecryptUpdate(ctx.get(), out.data(), &len, bytes.data(), n);
            EVP_DecryptFinal_ex(ctx.get(), out.data() + len, &tail);
            std::string plain(reinterpret_cast<const char*>(out.data()),
                              static_cast<std::size_t>(len + tail));
            benchmark::DoNotOptimize(plain);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(all.size()));
    state.SetBytesProcessed(state.iterations() * totalBytes(all));
}

// Raw EVP over the already decoded bytes: the cipher alone, the floor for any implementation.
void BM_Decipher_RawEvpBytesOnly(benchmark::State& state) {
    const auto& all = titles();
    std::vector<Bytes> decoded;
    for (const std::string& t : all)
        decoded.push_back(*base64Decode(t));
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    const unsigned char iv[16] = {};
    std::vector<unsigned char> out;
    for (auto _ : state) {
        for (const Bytes& b : decoded) {
            out.resize(b.size() + 16);
            int len = 0, tail = 0;
            EVP_DecryptInit_ex2(ctx.get(), EVP_aes_256_cbc(), ContentCipher::key(), iv, nullptr);
            EVP_DecryptUpdate(ctx.get(), out.data(), &len, b.data(), static_cast<int>(b.size()));
            EVP_DecryptFinal_ex(ctx.get(), out.data() + len, &tail);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(all.size()));
    state.SetBytesProcessed(state.iterations() * totalBytes(all));
}

// A fresh context per title, as a naive implementation would do it.
void BM_Decipher_RawEvpFreshContext(benchmark::State& state) {
    const auto& all = titles();
    const unsigned char iv[16] = {};
    std::vector<unsigned char> out;
    for (auto _ : state) {
        for (const std::string& t : all) {
            Bytes b = *base64Decode(t);
            std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
            out.resize(b.size() + 16);
            int len = 0, tail = 0;
            EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_cbc(), nullptr, ContentCipher::key(), iv);
            EVP_DecryptUpdate(ctx.get(), out.data(), &len, b.data(), static_cast<int>(b.size()));
            EVP_DecryptFinal_ex(ctx.get(), out.data() + len, &tail);
            std::string plain(reinterpret_cast<const char*>(out.data()),
                              static_cast<std::size_t>(len + tail));
            benchmark::DoNotOptimize(plain);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(all.size()));
}

}  // namespace

void BM_GenerateCourse(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const std::string path = benchDir() + "/generate.db";
    for (auto _ : state) {
        state.PauseTiming();
        CourseGenerator::installTemplate(path);
        state.ResumeTiming();
        GeneratedCourse c = CourseGenerator().generate(path, 2, size, 1'796'000'000);
        benchmark::DoNotOptimize(c);
    }
    state.SetItemsProcessed(state.iterations() * size);
}

namespace {

BENCHMARK(BM_Decipher_ContentCipher)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decipher_RawEvpWithBase64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decipher_RawEvpBytesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decipher_RawEvpFreshContext)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace examora

int main(int argc, char** argv) {
    for (int size : examora::CourseSize::selected()) {
        benchmark::RegisterBenchmark("BM_GenerateCourse", examora::BM_GenerateCourse)
            ->Arg(size)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(examora::benchDir(), ec);
    return 0;
}
