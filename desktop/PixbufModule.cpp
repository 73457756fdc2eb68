// The gdk-pixbuf loader module for PalmPilot images: its two entry points,
// the only symbols it exports, and the incremental load they offer. All
// its state lives in the load each begin_load makes; it starts no thread.
// Writing is not offered.
#include <new>

#include "Failure.h"
#include "PilotPixbufLoad.h"

namespace {

void SetOutOfMemory(GError **error)
{
	g_set_error_literal(error, GDK_PIXBUF_ERROR,
		GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
		"Not enough memory to load a PalmPilot image");
}

// The limit QUORVEL_MAX_PIXELS sets for quorvel holds for the loader too,
// read at each load, as each quorvel command reads it; a value quorvel
// refuses fails the load with quorvel's words.
bool GetPixelLimit(PixelLimit *limit, GError **error)
{
	try {
		*limit = EffectiveMaxPixels(std::nullopt);
		return true;
	} catch (const Failure &failure) {
		g_set_error(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_FAILED,
			"%s %s", kMaxPixelsVariable, failure.Reason().c_str());
	} catch (const std::bad_alloc &) {
		SetOutOfMemory(error);
	}
	return false;
}

gpointer BeginLoad(GdkPixbufModuleSizeFunc size,
	GdkPixbufModulePreparedFunc prepared, GdkPixbufModuleUpdatedFunc updated,
	gpointer userData, GError **error)
{
	PixelLimit limit;
	if (!GetPixelLimit(&limit, error)) {
		return NULL;
	}
	PilotPixbufLoad *load = new (std::nothrow) PilotPixbufLoad(
		PixbufCallbacks{size, prepared, updated, userData}, limit);
	if (load == NULL) {
		SetOutOfMemory(error);
	}
	return load;
}

gboolean LoadIncrement(gpointer context, const guchar *bytes, guint size,
	GError **error)
{
	return static_cast<PilotPixbufLoad *>(context)->Append(bytes, size,
		error);
}

gboolean StopLoad(gpointer context, GError **error)
{
	PilotPixbufLoad *load = static_cast<PilotPixbufLoad *>(context);
	const bool loaded = load->Finish(error);
	delete load;
	return loaded;
}

// Type 'vIMG' at offset 60, or creator 'TlPt' at 64: the two layouts the
// codec reads (the MIME type's magic says the same). 'x' lets any byte
// pass; the prefix's spaces there are placeholders.
#define ANY_BYTES_60 \
	"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
#define SPACES_60 \
	"                                                            "

GdkPixbufModulePattern sSignature[] = {
	{(char *)SPACES_60 "vIMG", (char *)ANY_BYTES_60 "    ", 100},
	{(char *)SPACES_60 "    TlPt", (char *)ANY_BYTES_60 "xxxx    ", 100},
	{NULL, NULL, 0}
};

const gchar *sMimeTypes[] = {"image/x-pilotimage", NULL};
const gchar *sExtensions[] = {"pdb", NULL};

} // namespace

extern "C" {

G_MODULE_EXPORT void fill_vtable(GdkPixbufModule *module);
G_MODULE_EXPORT void fill_info(GdkPixbufFormat *info);

void fill_vtable(GdkPixbufModule *module)
{
	module->begin_load = BeginLoad;
	module->stop_load = StopLoad;
	module->load_increment = LoadIncrement;
}

void fill_info(GdkPixbufFormat *info)
{
	info->name = (gchar *)"pilot";
	info->signature = sSignature;
	info->description = (gchar *)"PalmPilot image";
	info->mime_types = (gchar **)sMimeTypes;
	info->extensions = (gchar **)sExtensions;
	info->flags = GDK_PIXBUF_FORMAT_THREADSAFE;
	info->license = (gchar *)"MIT";
}

} // extern "C"
