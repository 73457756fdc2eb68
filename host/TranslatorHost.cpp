#include "TranslatorHost.h"

#include <stdio.h>

#include <map>
#include <mutex>

#include <SkippedAddOns.h>
#include <TranslatorFailure.h>

#include "Failure.h"
#include "StatusText.h"
#include "TranslatorSearchPath.h"

namespace {

// A file in a translator folder that is no translator (a cut-short copy, a
// library, a note) is passed over with one line, and the rest still load.
void WarnOfSkippedAddOn(const char *path, const char *why)
{
	fprintf(stderr, "quorvel: %s: warning: skipped, not a translator add-on "
		"(%s)\n", path, why);
}

bool WritesType(BTranslatorRoster &roster, translator_id id, uint32 type)
{
	const translation_format *formats = NULL;
	int32 count = 0;
	if (roster.GetOutputFormats(id, &formats, &count) != B_OK) {
		return false;
	}
	for (int32 i = 0; i < count; i++) {
		if (formats[i].type == type) {
			return true;
		}
	}
	return false;
}

// The roster of a folder's translators, loaded once and never deleted, as
// the kit's default roster is: the add-ons stay until the process ends,
// which spares unloading each of them (and their libraries) on the way out.
// NULL when no translator loads from there.
BTranslatorRoster *LoadedRoster(const std::string &folder)
{
	static std::mutex lock;
	// Never destroyed either: the rosters stay reachable to the end.
	static auto *loaded = new std::map<std::string, BTranslatorRoster *>;
	std::lock_guard<std::mutex> locker(lock);
	BTranslatorRoster *&roster = (*loaded)[folder];
	if (roster == NULL) {
		BPrivate::SetSkippedAddOnHook(WarnOfSkippedAddOn);
		BTranslatorRoster *fresh = new BTranslatorRoster;
		if (fresh->AddTranslators(folder.c_str()) != B_OK) {
			delete fresh;
			loaded->erase(folder);
			return NULL;
		}
		roster = fresh;
	}
	return roster;
}

} // namespace

std::string RefusalReason(const BMessage &extension, status_t status,
	const std::string &refusal)
{
	const char *reason = NULL;
	if (extension.FindString(TRANSLATOR_FAILURE_INFO, &reason) == B_OK
		&& reason != NULL && reason[0] != '\0') {
		return reason;
	}
	if (status == B_NO_MEMORY) {
		return "out of memory";
	}
	return refusal + " (" + DescribeStatus(status) + ")";
}

TranslatorHost::TranslatorHost(const std::string &folder)
	: fRoster(NULL), fLoadPath(TranslatorSearchPath(folder))
{
	fRoster = LoadedRoster(fLoadPath);
	if (fRoster == NULL) {
		throw Failure(fLoadPath, "no translators found there (use "
			"--translators DIR or TRANSLATORS_PATH)");
	}
}

bool TranslatorHost::Identify(BPositionIO &source, uint32 wantType,
	translator_info *info, BMessage *extension)
{
	return fRoster->Identify(&source, extension, info, 0, NULL, wantType)
		== B_OK;
}

std::string TranslatorHost::TranslatorName(translator_id id)
{
	const char *name = NULL;
	const char *info = NULL;
	int32 version = 0;
	if (fRoster->GetTranslatorInfo(id, &name, &info, &version) != B_OK) {
		return "?";
	}
	return name;
}

translator_id TranslatorHost::PilotTranslator()
{
	translator_id *list = NULL;
	int32 count = 0;
	if (fRoster->GetAllTranslators(&list, &count) != B_OK) {
		count = 0;
	}
	translator_id found = 0;
	bool haveOne = false;
	for (int32 i = 0; i < count && !haveOne; i++) {
		if (WritesType(*fRoster, list[i], PILOT_IMAGE_TYPE)) {
			found = list[i];
			haveOne = true;
		}
	}
	delete[] list;
	if (!haveOne) {
		throw Failure(fLoadPath, "no translator there writes Pilot images");
	}
	return found;
}
