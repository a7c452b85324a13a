// What a password costs when a run opens and saves an encrypted workbook:
// the password's key (iterated hash) alone, and the whole decryption and
// encryption of a 1 MB package, for both kinds of encryption.
//   tapwise_encryption_bench [--benchmark_filter=...]
#include "workbook/AgileEncryption.h"
#include "workbook/OfficeCrypto.h"
#include "workbook/StandardEncryption.h"

#include <benchmark/benchmark.h>

namespace {

namespace oc = tapwise::officecrypto;

const oc::SecretBytes& password() {
    static const oc::SecretBytes secret =
        oc::SecretBytes::fromPassword(QStringLiteral("Città 2024!"));
    return secret;
}

QByteArray package() {
    QByteArray bytes(1 << 20, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bytes[i] = char(i * 31);
    }
    return bytes;
}

void IteratedHash(benchmark::State& state, oc::HashKind kind, int rounds) {
    const QByteArray salt(16, 's');
    for (auto _ : state) {
        benchmark::DoNotOptimize(oc::iteratedHash(kind, salt, password(), rounds));
    }
}
BENCHMARK_CAPTURE(IteratedHash, agile_sha512_100000, oc::HashKind::Sha512, 100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IteratedHash, standard_sha1_50000, oc::HashKind::Sha1, 50000)
    ->Unit(benchmark::kMillisecond);

void AgileSave(benchmark::State& state) {
    const QByteArray plain = package();
    const tapwise::AgileEncryption kind; // AES-256, SHA-512, 100,000 rounds
    for (auto _ : state) {
        benchmark::DoNotOptimize(kind.encrypt(password(), plain));
    }
}
BENCHMARK(AgileSave)->Unit(benchmark::kMillisecond);

void AgileOpen(benchmark::State& state) {
    const auto streams = tapwise::AgileEncryption().encrypt(password(), package()).value();
    const auto kind = tapwise::AgileEncryption::parse(streams.first).value();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kind.decrypt(password(), streams.second));
    }
}
BENCHMARK(AgileOpen)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
