#!/bin/sh
# Builds the fuzzers, writes the seed corpus and runs each fuzzer for a
# while, keeping what each one finds in a corpus folder of its own; stops
# with a failure when a fuzzer reports a crash, leak, timeout or sanitizer
# report, leaving the input in <build>/fuzz-artifacts.
#
#   fuzz/run-fuzzers.sh [seconds per fuzzer (180)] [build folder] [fuzzer...]
#
# Fuzzers: translate bitmap pack settings png jpeg pnm gif bmp pixbuf (all
# by default).
# FUZZ_PARALLEL=2 runs two fuzzers at a time. Without a build folder it
# configures and builds the fuzz preset (build/fuzz). Needs clang with its
# libFuzzer runtime (Debian: clang, libclang-rt-dev), libpng, libjpeg and
# the project's usual build packages.
#
# For each fuzzer it prints the executions, executions per second, the
# coverage libFuzzer reached (cov: edges, ft: features) and the peak memory.
set -eu

seconds=${1:-180}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ge 2 ] && [ -n "$2" ]; then
	build=$2
else
	build=$source_dir/build/fuzz
	(cd "$source_dir" && cmake --preset fuzz >/dev/null)
fi
shift $(($# < 2 ? $# : 2))
fuzzers=${*:-translate bitmap pack settings png jpeg pnm gif bmp pixbuf}
parallel=${FUZZ_PARALLEL:-1}

targets=quorvel_fuzz_seeds
for fuzzer in $fuzzers; do
	targets="$targets quorvel_fuzz_$fuzzer"
done
cmake --build "$build" --target $targets

seeds=$build/fuzz-seeds
corpus=$build/fuzz-corpus
artifacts=$build/fuzz-artifacts/
mkdir -p "$artifacts"
rm -rf "$seeds"
"$build/fuzz/quorvel_fuzz_seeds" "$seeds"
# The samples are valid PNG and JPEG files too.
cp "$source_dir"/samples/scene.png "$source_dir"/samples/scene.jpg \
	"$seeds/pictures/"
# The standard translators start from the same pictures, GIF and BMP from
# their own too, and each from the hostile files of its format that the
# crashers folder keeps (a JPEG of many scans, a PNG or BMP that claims
# far more than its bytes), which fit the fuzzers' size and pixel caps.
crashers=$source_dir/tests/hardening/crashers
for format in png jpeg pnm gif bmp; do
	mkdir -p "$seeds/$format"
	cp "$seeds"/pictures/* "$seeds/$format/"
done
cp "$crashers"/*.png "$seeds/png/"
cp "$crashers"/*.jpg "$seeds/jpeg/"
cp "$crashers"/*.bmp "$seeds/bmp/"
cp "$crashers"/*.ppm "$crashers"/*.pgm "$crashers"/*.pbm "$seeds/pnm/"

# The desktop's loader starts from the Pilot images, whose last byte it
# reads as its own choices.
mkdir -p "$seeds/pixbuf"
cp "$seeds"/translate/* "$seeds/pixbuf/"

run_one() {
	fuzzer=$1
	log=$build/fuzz-$fuzzer.log
	mkdir -p "$corpus/$fuzzer"
	# A slow unit is one that takes more than a minute; the memory limit
	# leaves room for the largest picture the readers accept.
	# Inputs of up to 64 KiB: room for every seed, the crashers among
	# them, and for a JPEG of many scans to grow.
	"$build/fuzz/quorvel_fuzz_$fuzzer" -max_total_time="$seconds" \
		-max_len=65536 -timeout=60 -rss_limit_mb=3072 -use_value_profile=1 \
		-print_final_stats=1 -artifact_prefix="$artifacts$fuzzer-" \
		"$corpus/$fuzzer" "$seeds/$fuzzer" >"$log" 2>&1
}

report() {
	fuzzer=$1
	log=$build/fuzz-$fuzzer.log
	echo "== quorvel_fuzz_$fuzzer ($seconds s)"
	grep -E '^#[0-9]+[[:space:]]+(DONE|pulse|NEW|REDUCE)' "$log" | tail -n 1
	grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
		"$log"
}

failed=0
set -- $fuzzers
while [ $# -gt 0 ]; do
	batch=""
	pids=""
	count=0
	while [ $# -gt 0 ] && [ $count -lt "$parallel" ]; do
		run_one "$1" &
		pids="$pids $!"
		batch="$batch $1"
		count=$((count + 1))
		shift
	done
	index=1
	for pid in $pids; do
		fuzzer=$(echo $batch | cut -d' ' -f$index)
		index=$((index + 1))
		if wait "$pid"; then
			report "$fuzzer"
		else
			echo "== quorvel_fuzz_$fuzzer FAILED; the end of its log:"
			tail -n 40 "$build/fuzz-$fuzzer.log"
			failed=1
		fi
	done
done
exit $failed
