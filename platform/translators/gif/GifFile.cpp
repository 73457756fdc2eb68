#include "GifFile.h"

#include <string.h>

namespace {

const int kGraphicControlLabel = 0xF9;

void CopyColourMap(const ColorMapObject *map, Palette *palette)
{
	palette->count = map->ColorCount < 256 ? map->ColorCount : 256;
	for (int i = 0; i < palette->count; i++) {
		palette->entries[i][0] = map->Colors[i].Red;
		palette->entries[i][1] = map->Colors[i].Green;
		palette->entries[i][2] = map->Colors[i].Blue;
	}
}

} // namespace

bool LooksLikeGif(BPositionIO *source)
{
	char magic[6];
	return source->ReadAt(0, magic, sizeof(magic)) == sizeof(magic)
		&& (memcmp(magic, "GIF87a", 6) == 0 || memcmp(magic, "GIF89a", 6) == 0);
}

GifFile::GifFile(BPositionIO *source)
	: fStream(source), fSource(source)
{
}

GifFile::~GifFile()
{
	if (fGif != NULL) {
		int error;
		DGifCloseFile(fGif, &error);
	}
}

int GifFile::ReadBytes(GifFileType *gif, GifByteType *out, int count)
{
	GifFile *self = static_cast<GifFile *>(gif->UserData);
	return count <= 0 ? 0 : (int)self->fSource.Read(out, (size_t)count);
}

bool GifFile::ReadFirstImage(GifImage *image)
{
	fGif = DGifOpen(this, ReadBytes, &fError);
	if (fGif == NULL) {
		return false;
	}
	for (;;) {
		GifRecordType record;
		if (DGifGetRecordType(fGif, &record) == GIF_ERROR) {
			fError = fGif->Error;
			return false;
		}
		if (record == EXTENSION_RECORD_TYPE) {
			if (!ReadTransparency(image)) {
				return false;
			}
		} else if (record == IMAGE_DESC_RECORD_TYPE) {
			break;
		} else {
			// The trailer, or a record giflib does not know.
			fError = D_GIF_ERR_NO_IMAG_DSCR;
			return false;
		}
	}
	if (DGifGetImageHeader(fGif) == GIF_ERROR) {
		fError = fGif->Error;
		return false;
	}
	const GifImageDesc &desc = fGif->Image;
	image->width = (uint32)desc.Width;
	image->height = (uint32)desc.Height;
	image->interlaced = desc.Interlace;
	const ColorMapObject *map = desc.ColorMap != NULL ? desc.ColorMap
		: fGif->SColorMap;
	image->hasColourTable = map != NULL;
	if (map != NULL) {
		CopyColourMap(map, &image->palette);
		image->tableBits = map->BitsPerPixel;
	}
	// giflib has read the code size, the byte before the data.
	image->dataStart = fSource.Position();
	uint8 codeSize = 0;
	fStream->ReadAt((off_t)image->dataStart - 1, &codeSize, 1);
	image->codeSize = codeSize;
	return true;
}

// A graphic control extension names the transparent index of the image
// after it; other extensions are passed over.
bool GifFile::ReadTransparency(GifImage *image)
{
	int label;
	GifByteType *block = NULL;
	if (DGifGetExtension(fGif, &label, &block) == GIF_ERROR) {
		fError = fGif->Error;
		return false;
	}
	if (label == kGraphicControlLabel && block != NULL && block[0] >= 4) {
		GraphicsControlBlock control;
		DGifExtensionToGCB(4, block + 1, &control);
		image->palette.transparent = control.TransparentColor;
	}
	while (block != NULL) {
		if (DGifGetExtensionNext(fGif, &block) == GIF_ERROR) {
			fError = fGif->Error;
			return false;
		}
	}
	return true;
}

bool GifFile::ReadRow(uint8 *indexes, uint32 width)
{
	if (DGifGetLine(fGif, indexes, (int)width) == GIF_ERROR) {
		fError = fGif->Error;
		return false;
	}
	return true;
}

std::string GifFile::Failure() const
{
	switch (fError) {
		case D_GIF_ERR_READ_FAILED:
		case D_GIF_ERR_EOF_TOO_SOON:
			return "the file is cut short";
		case D_GIF_ERR_NO_IMAG_DSCR:
			return "the file holds no image";
	}
	const char *text = GifErrorString(fError);
	return text != NULL ? text : "error " + std::to_string(fError);
}
