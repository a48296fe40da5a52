#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the address and
# undefined-behaviour sanitizers in build-fuzz/, and runs each for SECONDS
# seconds (default 60): fuzz_rule_xml (one element offered to the module) on
# fuzz/corpus/, then fuzz_rule_file (a whole rule file down the host's road)
# on fuzz/rule-file-corpus/ with the dictionary fuzz/rule-file.dict, then
# fuzz_data_file_image (any bytes loaded as a data-file library) starting from
# the built resource libraries. A second
# argument names the one target to run. The
# sanitizer runtime is the shared one, since the module is a shared object
# linked with --no-undefined and is loaded with dlopen. The control classes'
# Create hides CWnd::Create as it does in MFC; clang warns about that, and
# the warning stays a warning here.
# New inputs go to build-fuzz/<target>-corpus/, crashes to build-fuzz/fuzz-artifacts/.
set -eu
SECONDS_TO_RUN=${1:-60}
ONLY=${2:-}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build-fuzz
RUNTIME_DIR=$(clang-14 -print-runtime-dir)

cmake -S "$ROOT" -B "$BUILD" -G Ninja \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link \
  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -Wno-error=overloaded-virtual" \
  -DCMAKE_SHARED_LINKER_FLAGS=-shared-libasan -DCMAKE_MODULE_LINKER_FLAGS=-shared-libasan \
  "-DCMAKE_EXE_LINKER_FLAGS=-shared-libasan -Wl,-rpath,$RUNTIME_DIR" \
  -DVEK_SANITIZE=ON -DVEK_BUILD_FUZZ=ON -DVEK_BUILD_TESTS=OFF -DVEK_BUILD_BENCH=OFF >/dev/null
ninja -C "$BUILD" -j2 fuzz_rule_xml fuzz_rule_file fuzz_data_file_image

mkdir -p "$BUILD/fuzz-corpus" "$BUILD/rule-file-corpus" "$BUILD/fuzz-artifacts" "$BUILD/data-file-corpus"
# The user's locale must not change how numbers are read or written.
# The shared sanitizer runtime has to come first among the loaded libraries.
run_target() {
  LD_PRELOAD="$RUNTIME_DIR/libclang_rt.asan-x86_64.so" LC_ALL=C VEK_UI_LANGUAGE=en-US VEK_HOME="$BUILD/bin" \
    "$BUILD/bin/$1" -max_total_time="$SECONDS_TO_RUN" -max_len=8192 -timeout=10 \
    -artifact_prefix="$BUILD/fuzz-artifacts/" -print_final_stats=1 "${@:2}"
}
if [ -z "$ONLY" ] || [ "$ONLY" = fuzz_rule_xml ]; then
  run_target fuzz_rule_xml "$BUILD/fuzz-corpus" "$ROOT/fuzz/corpus"
fi
if [ -z "$ONLY" ] || [ "$ONLY" = fuzz_rule_file ]; then
  run_target fuzz_rule_file -dict="$ROOT/fuzz/rule-file.dict" \
    "$BUILD/rule-file-corpus" "$ROOT/fuzz/rule-file-corpus"
fi
if [ -z "$ONLY" ] || [ "$ONLY" = fuzz_data_file_image ]; then
  for lang in "$BUILD"/bin/res/*/; do
    cp "$lang/VEKInvestmentCastRulesResu.so" "$BUILD/data-file-corpus/$(basename "$lang").so"
  done
  run_target fuzz_data_file_image -max_len=65536 "$BUILD/data-file-corpus"
fi
