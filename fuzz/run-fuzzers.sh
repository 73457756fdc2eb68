#!/bin/sh
# Builds the fuzzers, writes the seed corpus and runs each fuzzer for a
# while; stops with a failure at the first crash, leak or sanitizer report,
# leaving the input in <build>/fuzz-artifacts.
#
#   fuzz/run-fuzzers.sh [seconds per fuzzer (180)] [build folder]
#
# Without a build folder it configures and builds the fuzz preset
# (build/fuzz). Needs clang with its libFuzzer runtime (Debian: clang,
# libclang-rt-dev) and the project's usual build packages.
set -eu

seconds=${1:-180}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ge 2 ]; then
	build=$2
else
	build=$source_dir/build/fuzz
	(cd "$source_dir" && cmake --preset fuzz >/dev/null)
fi
cmake --build "$build" --target quorvel_fuzz_translate quorvel_fuzz_pack \
	quorvel_fuzz_seeds

seeds=$build/fuzz-seeds
corpus=$build/fuzz-corpus
artifacts=$build/fuzz-artifacts/
mkdir -p "$corpus/translate" "$corpus/pack" "$artifacts"
rm -rf "$seeds"
"$build/fuzz/quorvel_fuzz_seeds" "$seeds"

for fuzzer in translate pack; do
	echo "== quorvel_fuzz_$fuzzer for $seconds s"
	"$build/fuzz/quorvel_fuzz_$fuzzer" -max_total_time="$seconds" \
		-print_final_stats=1 -artifact_prefix="$artifacts" \
		"$corpus/$fuzzer" "$seeds/$fuzzer" 2>"$build/fuzz-$fuzzer.log" \
		|| { tail -40 "$build/fuzz-$fuzzer.log"; exit 1; }
	grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
		"$build/fuzz-$fuzzer.log"
done
