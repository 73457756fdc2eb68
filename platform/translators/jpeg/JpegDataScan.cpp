#include "JpegDataScan.h"

#include <string.h>

#include <vector>

#include "ByteSource.h"
#include "TranslationError.h"

namespace {

const int kMarkerSOS = 0xDA;
const int kMarkerEOI = 0xD9;

// A scan header: the frame's components it codes (indexes into
// comp_info) and its spectral start, 0 for a scan of DC coefficients.
struct ScanHeader {
	std::vector<int> components;
	int spectralStart = 0;
};

[[noreturn]] void CutShort()
{
	Damaged("not a readable JPEG image (the file is cut short)");
}

uint64 DivideRoundingUp(uint64 a, uint64 b)
{
	return (a + b - 1) / b;
}

class DataScan {
public:
	DataScan(BPositionIO *stream, uint64 start, j_decompress_ptr info)
		: fBytes(stream, start), fInfo(info),
		  fHadDcScan(info->num_components, false)
	{
	}

	void Run(const ScanHeader &first)
	{
		BeginScan(first);
		for (;;) {
			CountDataBytes();
			int marker = NextMarker();
			EndScan();
			if (marker < 0 || marker == kMarkerEOI) {
				return;
			}
			if (marker == 0xD8 || marker == 0x01) {
				continue;
			}
			int high = fBytes.Next();
			int low = fBytes.Next();
			if (low < 0 || (high << 8 | low) < 2) {
				return;
			}
			size_t length = (size_t)(high << 8 | low) - 2;
			if (marker == kMarkerSOS) {
				ScanHeader header;
				if (!ReadScanHeader(length, &header)) {
					return;
				}
				BeginScan(header);
			} else if (!fBytes.Skip(length)) {
				return;
			}
		}
	}

private:
	// Entropy-coded bytes up to the next FF that is not a stuffed zero
	// byte or a restart marker.
	void CountDataBytes()
	{
		for (;;) {
			size_t available = fBytes.Available();
			if (available == 0) {
				return;
			}
			const uint8 *data = fBytes.Data();
			const void *found = memchr(data, 0xFF, available);
			if (found == NULL) {
				fDataBytes += available;
				fBytes.Consume(available);
				continue;
			}
			size_t before = (size_t)(static_cast<const uint8 *>(found) - data);
			fDataBytes += before;
			fBytes.Consume(before);
			// Look past the FF (and any fill bytes after it).
			fBytes.Next();
			int next;
			do {
				next = fBytes.Next();
			} while (next == 0xFF);
			if (next == 0x00) {
				fDataBytes++;
			} else if (next < 0xD0 || next > 0xD7) {
				fPendingMarker = next;
				return;
			}
		}
	}

	// The marker CountDataBytes stopped at; -1 at the end of the stream.
	int NextMarker()
	{
		int marker = fPendingMarker;
		fPendingMarker = -1;
		return marker;
	}

	void BeginScan(const ScanHeader &header)
	{
		fDataBytes = 0;
		fDemandBits = 0;
		bool dcScan = header.spectralStart == 0;
		for (int component : header.components) {
			if (!dcScan && !fHadDcScan[component]) {
				Damaged("not a readable JPEG image (an AC scan comes before "
					"the component's first DC scan)");
			}
			if (dcScan) {
				fHadDcScan[component] = true;
			}
		}
		if (dcScan && !fInfo->arith_code) {
			fDemandBits = BlocksIn(header);
		}
	}

	void EndScan()
	{
		if (fDataBytes * 8 < fDemandBits) {
			CutShort();
		}
		fDemandBits = 0;
		fDataBytes = 0;
	}

	uint64 BlocksIn(const ScanHeader &header) const
	{
		if (header.components.size() == 1) {
			const jpeg_component_info &c
				= fInfo->comp_info[header.components[0]];
			return (uint64)c.width_in_blocks * c.height_in_blocks;
		}
		uint64 mcus = DivideRoundingUp(fInfo->image_width,
				(uint64)fInfo->max_h_samp_factor * DCTSIZE)
			* DivideRoundingUp(fInfo->image_height,
				(uint64)fInfo->max_v_samp_factor * DCTSIZE);
		uint64 blocksPerMcu = 0;
		for (int component : header.components) {
			const jpeg_component_info &c = fInfo->comp_info[component];
			blocksPerMcu += (uint64)c.h_samp_factor * c.v_samp_factor;
		}
		return mcus * blocksPerMcu;
	}

	// A scan header of length bytes; false when it is cut short or names
	// a component the frame lacks (libjpeg refuses those itself).
	bool ReadScanHeader(size_t length, ScanHeader *header)
	{
		std::vector<uint8> bytes(length);
		if (fBytes.Read(bytes.data(), length) != length || length < 1) {
			return false;
		}
		size_t count = bytes[0];
		if (length < 1 + 2 * count + 3) {
			return false;
		}
		for (size_t i = 0; i < count; i++) {
			int index = ComponentIndex(bytes[1 + 2 * i]);
			if (index < 0) {
				return false;
			}
			header->components.push_back(index);
		}
		header->spectralStart = bytes[1 + 2 * count];
		return true;
	}

	int ComponentIndex(int id) const
	{
		for (int i = 0; i < fInfo->num_components; i++) {
			if (fInfo->comp_info[i].component_id == id) {
				return i;
			}
		}
		return -1;
	}

	ByteSource fBytes;
	j_decompress_ptr fInfo;
	std::vector<bool> fHadDcScan;
	uint64 fDataBytes = 0;
	uint64 fDemandBits = 0;
	int fPendingMarker = -1;
};

} // namespace

void CheckEntropyCodedData(BPositionIO *stream, uint64 firstScanData,
	j_decompress_ptr info)
{
	ScanHeader first;
	for (int i = 0; i < info->comps_in_scan; i++) {
		first.components.push_back(info->cur_comp_info[i]->component_index);
	}
	first.spectralStart = info->Ss;
	DataScan scan(stream, firstScanData, info);
	scan.Run(first);
}
