#include "JpegStreams.h"

#include <string.h>

#include <jerror.h>

#include "BitmapStreamHeader.h"

namespace {

void JumpOnError(j_common_ptr info)
{
	JpegErrors *errors = reinterpret_cast<JpegErrors *>(info->err);
	errors->base.format_message(info, errors->message);
	longjmp(errors->jump, 1);
}

// Warnings are not printed. Those that say the data ended before the last
// scan line, the file ending or a marker coming where Huffman-coded data
// should, mean a damaged file: libjpeg would fill the rest with grey and
// carry on, over the whole of a picture whose header may claim 16384 x
// 16384, so the decoding stops at once, as for an error.
void NoteWarning(j_common_ptr info, int level)
{
	JpegErrors *errors = reinterpret_cast<JpegErrors *>(info->err);
	if (level < 0 && (errors->base.msg_code == JWRN_JPEG_EOF
			|| errors->base.msg_code == JWRN_HIT_MARKER)) {
		errors->cutShort = true;
		longjmp(errors->jump, 1);
	}
}

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr)
{
}

// At the end of the data libjpeg is handed an end-of-image marker, with
// the warning that says the file was cut short.
boolean FillInputBuffer(j_decompress_ptr info)
{
	JpegSource *source = reinterpret_cast<JpegSource *>(info->src);
	ByteSource &bytes = *source->bytes;
	// The last buffer is done with, as libjpeg's own managers take it:
	// a call with bytes still in it wants the ones after them.
	bytes.Consume(bytes.Buffered());
	size_t available = bytes.Available();
	if (available == 0) {
		WARNMS(info, JWRN_JPEG_EOF);
		source->base.next_input_byte = kEndOfImage;
		source->base.bytes_in_buffer = sizeof(kEndOfImage);
		return TRUE;
	}
	source->base.next_input_byte = bytes.Data();
	source->base.bytes_in_buffer = available;
	return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
	if (count <= 0) {
		return;
	}
	JpegSource *source = reinterpret_cast<JpegSource *>(info->src);
	if ((size_t)count <= source->base.bytes_in_buffer) {
		source->base.next_input_byte += count;
		source->base.bytes_in_buffer -= count;
		return;
	}
	ByteSource &bytes = *source->bytes;
	// Within the buffer first, then past it without reading.
	uint64 beyond = (uint64)count - source->base.bytes_in_buffer;
	bytes.Consume(bytes.Buffered());
	bytes.Skip(beyond);
	source->base.next_input_byte = NULL;
	source->base.bytes_in_buffer = 0;
}

void TermSource(j_decompress_ptr)
{
}

void InitDestination(j_compress_ptr info)
{
	JpegDestination *destination
		= reinterpret_cast<JpegDestination *>(info->dest);
	destination->base.next_output_byte = destination->buffer;
	destination->base.free_in_buffer = sizeof(destination->buffer);
}

void Flush(j_compress_ptr info, size_t count)
{
	JpegDestination *destination
		= reinterpret_cast<JpegDestination *>(info->dest);
	status_t status = WriteFully(destination->stream, destination->buffer,
		count);
	if (status != B_OK) {
		destination->errors->writeStatus = status;
		ERREXIT(info, JERR_FILE_WRITE);
	}
}

boolean EmptyOutputBuffer(j_compress_ptr info)
{
	JpegDestination *destination
		= reinterpret_cast<JpegDestination *>(info->dest);
	Flush(info, sizeof(destination->buffer));
	InitDestination(info);
	return TRUE;
}

void TermDestination(j_compress_ptr info)
{
	JpegDestination *destination
		= reinterpret_cast<JpegDestination *>(info->dest);
	Flush(info, sizeof(destination->buffer) - destination->base.free_in_buffer);
}

} // namespace

void InstallJpegErrors(j_common_ptr info, JpegErrors *errors)
{
	info->err = jpeg_std_error(&errors->base);
	errors->base.error_exit = JumpOnError;
	errors->base.emit_message = NoteWarning;
	errors->message[0] = '\0';
	errors->cutShort = false;
	errors->tooManyScans = false;
	errors->writeStatus = B_OK;
}

void UseJpegSource(j_decompress_ptr info, JpegSource *source,
	ByteSource *bytes)
{
	source->bytes = bytes;
	source->base.init_source = InitSource;
	source->base.fill_input_buffer = FillInputBuffer;
	source->base.skip_input_data = SkipInputData;
	source->base.resync_to_restart = jpeg_resync_to_restart;
	source->base.term_source = TermSource;
	source->base.next_input_byte = NULL;
	source->base.bytes_in_buffer = 0;
	info->src = &source->base;
}

uint64 JpegSourcePosition(const JpegSource &source)
{
	ByteSource &bytes = *source.bytes;
	if (source.base.next_input_byte == kEndOfImage
		|| source.base.next_input_byte == kEndOfImage + 1) {
		return bytes.Position();
	}
	return bytes.Position() + bytes.Buffered() - source.base.bytes_in_buffer;
}

void UseJpegDestination(j_compress_ptr info, JpegDestination *destination,
	BPositionIO *stream, JpegErrors *errors)
{
	destination->stream = stream;
	destination->errors = errors;
	destination->base.init_destination = InitDestination;
	destination->base.empty_output_buffer = EmptyOutputBuffer;
	destination->base.term_destination = TermDestination;
	info->dest = &destination->base;
}
