// Who hears of the files the roster passes over. The platform's roster
// skips what is not a translator without a word, as a folder of add-ons
// may hold other things; a command-line host wants to name them, so that
// a broken add-on is not silently missing.
#ifndef _SKIPPED_ADD_ONS_H
#define _SKIPPED_ADD_ONS_H

namespace BPrivate {

// Called by AddTranslators, on the loading thread, once for each file of
// the load path that is not loaded, with why in a few words ("not a
// shared object", "cut short: ...", the loader's own message).
typedef void (*skipped_add_on_hook)(const char *path, const char *why);

// Sets the hook for every roster of the process; NULL, the default,
// keeps skipping silent.
void SetSkippedAddOnHook(skipped_add_on_hook hook);

} // namespace BPrivate

#endif // _SKIPPED_ADD_ONS_H
