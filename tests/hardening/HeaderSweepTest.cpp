// Every single-bit flip in the headers (and in packed pixel data), and
// every truncation, of a few valid Pilot images and bitmap streams: each
// damaged file must convert or be refused cleanly (ExpectCleanReading,
// ExpectCleanWriting), and the sanitizer builds see that nothing is read
// or written out of bounds on the way. The counts of cases and outcomes
// are printed.
#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "HardeningSupport.h"

namespace {

struct Sample {
	const char *name;
	Bytes bytes;
	// The leading bytes whose every bit is flipped: the headers, and in
	// packed images the packed stream too, cheap to sweep and as untrusted.
	size_t flippedSize;
};

Bytes Packed(const Bytes &plain)
{
	// Literal runs, and a repeat run, so that both kinds are swept.
	Bytes packed = LiteralRuns(plain);
	packed.push_back(0x80 + 4);
	packed.push_back(0x5A);
	return packed;
}

std::vector<Sample> PilotSamples()
{
	const Bytes mono = PatternBytes(4 * 6, 3);
	const Bytes grey = PatternBytes(4 * 5, 5);
	const Bytes tealPaint = PatternBytes(2 * 4, 7);
	const Bytes sixteen = PatternBytes(9 * 3, 9);
	return {
		{"1-bit plain", PilotImage(32, 6, true, false, mono),
			kPilotHeadersSize},
		{"1-bit packed", PilotImage(32, 7, true, true, Packed(mono)),
			kPilotHeadersSize + Packed(mono).size()},
		{"four-grey plain", PilotImage(16, 5, false, false, grey),
			kPilotHeadersSize},
		{"four-grey packed", PilotImage(16, 6, false, true, Packed(grey)),
			kPilotHeadersSize + Packed(grey).size()},
		{"sixteen-grey plain", PilotImageOfType(18, 3, kSixteenGreyPixelType,
			0x00, sixteen), kPilotHeadersSize},
		{"sixteen-grey packed 0x01", PilotImageOfType(18, 4,
			kSixteenGreyPixelType, 0x01, Packed(sixteen)),
			kPilotHeadersSize + Packed(sixteen).size()},
		{"sixteen-grey packed 0x09", PilotImageOfType(19, 3,
			kSixteenGreyPixelType, 0x09, Packed(sixteen)),
			kPilotHeadersSize + Packed(sixteen).size()},
		{"TlPt GbDb", TealPaintImage(16, 4, true, tealPaint), 86 + 24},
		{"TlPt other", TealPaintImage(16, 4, false, tealPaint), 86 + 32},
	};
}

std::vector<Sample> BitmapSamples()
{
	return {
		{"B_GRAY1", BitmapStream(20, 3, B_GRAY1), kBitmapHeaderBytes},
		{"B_CMAP8", BitmapStream(7, 4, B_CMAP8), kBitmapHeaderBytes},
		{"B_RGB32", BitmapStream(5, 3, B_RGB32), kBitmapHeaderBytes},
	};
}

// Counts cases and their outcomes, and prints them.
class Tally {
public:
	void Count(bool flip, status_t status)
	{
		(flip ? fFlips : fTruncations)++;
		fStatuses[status]++;
	}

	void Print(const char *what) const
	{
		std::cout << what << ": " << fFlips << " bit flips, " << fTruncations
			<< " truncations;";
		for (const auto &entry : fStatuses) {
			std::cout << " " << StatusName(entry.first) << " "
				<< entry.second;
		}
		std::cout << std::endl;
	}

	int Cases() const { return fFlips + fTruncations; }

private:
	static std::string StatusName(status_t status)
	{
		switch (status) {
			case B_OK:
				return "B_OK";
			case B_ERROR:
				return "B_ERROR";
			case B_NO_TRANSLATOR:
				return "B_NO_TRANSLATOR";
		}
		return std::to_string(status);
	}

	int fFlips = 0;
	int fTruncations = 0;
	std::map<status_t, int> fStatuses;
};

// Calls check on every damaged form of the sample: each bit of its first
// flippedSize bytes flipped, then each length cut short.
template <typename Check>
void Sweep(const Sample &sample, Tally &tally, Check check)
{
	for (size_t bit = 0; bit < sample.flippedSize * 8; bit++) {
		Bytes damaged = sample.bytes;
		damaged[bit / 8] ^= (uint8)(0x80 >> (bit % 8));
		tally.Count(true, check(damaged, std::string(sample.name)
			+ ", bit " + std::to_string(bit) + " flipped"));
	}
	for (size_t length = 0; length < sample.bytes.size(); length++) {
		const Bytes cut(sample.bytes.begin(), sample.bytes.begin() + length);
		tally.Count(false, check(cut, std::string(sample.name) + ", cut at "
			+ std::to_string(length)));
	}
}

class HeaderSweep : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }

	LoadedTranslator fAddon;
};

TEST_F(HeaderSweep, DamagedPilotImagesReadOrAreRefused)
{
	Tally tally;
	for (const Sample &sample : PilotSamples()) {
		ASSERT_EQ(PilotToBitmap(fAddon, sample.bytes).status, B_OK)
			<< sample.name;
		Sweep(sample, tally, [&](const Bytes &input, const std::string &what) {
			const Outcome outcome = PilotToBitmap(fAddon, input);
			ExpectCleanReading(outcome, what);
			return outcome.status;
		});
	}
	tally.Print("Pilot images to bitmap streams");
	RecordProperty("cases", tally.Cases());
}

TEST_F(HeaderSweep, DamagedBitmapStreamsWriteOrAreRefused)
{
	Tally tally;
	int job = 0;
	for (const Sample &sample : BitmapSamples()) {
		ASSERT_EQ(BitmapToPilot(fAddon, sample.bytes).status, B_OK)
			<< sample.name;
		Sweep(sample, tally, [&](const Bytes &input, const std::string &what) {
			// Every combination of the options in turn; a fixed name, as
			// a generated one would differ from call to call.
			BMessage options = ExplicitOptions("Swept", (job & 1) != 0,
				(job & 2) != 0, (job & 4) != 0);
			job++;
			const Outcome outcome = BitmapToPilot(fAddon, input, &options);
			ExpectCleanWriting(fAddon, outcome, what);
			return outcome.status;
		});
	}
	tally.Print("bitmap streams to Pilot images");
	RecordProperty("cases", tally.Cases());
}

} // namespace
