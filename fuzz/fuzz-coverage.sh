#!/bin/sh
# Line coverage that the fuzzers' corpora reach: builds the fuzzers with
# clang's source-based coverage (no sanitizers) in a folder of its own,
# runs each one once over its corpus and seeds, and prints llvm-cov's
# report for the add-on (codec/, translator/, config/) and the standard
# translators (platform/translators/).
#
#   fuzz/fuzz-coverage.sh [fuzz build folder (build/fuzz)] [coverage build
#                         folder (build/fuzz-coverage)]
#
# The fuzz build folder holds the corpora and seeds that run-fuzzers.sh
# left there. Needs clang, llvm-profdata and llvm-cov of one version.
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
fuzz_build=${1:-$source_dir/build/fuzz}
build=${2:-$source_dir/build/fuzz-coverage}
fuzzers="translate bitmap pack settings png jpeg pnm"
flags="-fprofile-instr-generate -fcoverage-mapping"

cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	-DQUORVEL_BUILD_FUZZERS=ON -DQUORVEL_BUILD_TESTS=OFF \
	-DQUORVEL_BUILD_HOST=OFF \
	"-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags" \
	"-DCMAKE_EXE_LINKER_FLAGS=-fprofile-instr-generate" \
	"-DCMAKE_SHARED_LINKER_FLAGS=-fprofile-instr-generate" \
	"-DCMAKE_MODULE_LINKER_FLAGS=-fprofile-instr-generate" >/dev/null
targets=""
for fuzzer in $fuzzers; do
	targets="$targets quorvel_fuzz_$fuzzer"
done
cmake --build "$build" --target $targets

profiles=$build/profiles
rm -rf "$profiles"
mkdir -p "$profiles"
objects=""
for fuzzer in $fuzzers; do
	inputs=""
	for folder in "$fuzz_build/fuzz-corpus/$fuzzer" \
		"$fuzz_build/fuzz-seeds/$fuzzer"; do
		if [ -d "$folder" ]; then
			inputs="$inputs $folder"
		fi
	done
	# %m keeps the module's counters apart from the program's.
	LLVM_PROFILE_FILE="$profiles/$fuzzer-%m-%p.profraw" \
		"$build/fuzz/quorvel_fuzz_$fuzzer" -runs=0 $inputs \
		>"$build/coverage-$fuzzer.log" 2>&1
	objects="$objects -object $build/fuzz/quorvel_fuzz_$fuzzer"
done
llvm-profdata merge -sparse "$profiles"/*.profraw -o "$build/fuzz.profdata"
llvm-cov report -instr-profile="$build/fuzz.profdata" \
	"$build/translators/Quorvel" -object "$build/translators/PNGTranslator" \
	-object "$build/translators/JPEGTranslator" \
	-object "$build/translators/PPMTranslator" $objects \
	"$source_dir/codec" "$source_dir/translator" "$source_dir/config" \
	"$source_dir/platform/translators"
