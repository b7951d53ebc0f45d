#!/bin/sh
# Builds the Access engine fuzz target in build-fuzz/ and runs it for a bounded time.
# FUZZ_SECONDS (default 60). Fails on any crash, leak or timeout.
set -eu
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DDEVIMAX_BUILD_FUZZ=ON -DDEVIMAX_ENGINE_ONLY=ON -DDEVIMAX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target access_fuzz devimax-mdb

# Seed corpus: files made by our own creator.
seeds="$build/fuzz-seeds"
corpus="$build/fuzz-corpus"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus"
tool="$build/tools/devimax-mdb"
"$tool" create-default "$seeds/buro.mdb"
for v in jet3 jet4; do
    "$tool" create "$seeds/$v-two.mdb" --$v --table Taux --column Nom:text:30 --column Taux:double \
        --column Prix:currency --column N:long --row "Franc,6.55957,12.3456,42" --row ",,-0.5,-7"
    "$tool" create "$seeds/$v-empty.mdb" --$v --table Vide --column Valeur:double
    "$tool" create "$seeds/$v-text.mdb" --$v --table Notes --column Texte:text:255 --row "abc" --row ""
done

"$build/fuzz/access_fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 "$corpus" "$seeds"
