// The roster keeps its add-ons in load order; a translator's id is its
// position plus one, so ids are small, stable and never 0. Add-ons are
// only added while the roster lives and unloaded by its destructor, so a
// module found under the lock may be used after the lock is released: the
// translators' own calls run without it, in parallel.
#include <TranslatorRoster.h>

#include <string.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <vector>

#include <DataIO.h>

#include "SkippedAddOns.h"
#include "TranslatorModule.h"
#include "TranslatorPath.h"

using BPrivate::TranslatorModule;

namespace {

std::atomic<BPrivate::skipped_add_on_hook> sSkippedAddOnHook{NULL};


// A translator's answer to Identify, kept with its score.
struct Candidate {
	translator_info info;
	float score;
};


// The translator's own input row that matches the caller's hint, by type
// or by MIME type; NULL when the hint names none of its formats.
const translation_format *
HintFormat(const TranslatorModule &module, uint32 hintType,
	const char *hintMIME)
{
	bool haveMIME = hintMIME != NULL && hintMIME[0] != '\0';
	const translation_format *formats = module.InputFormats();
	for (int32 i = 0; i < module.CountInputFormats(); i++) {
		if ((hintType != 0 && formats[i].type == hintType)
			|| (haveMIME && strncmp(formats[i].MIME, hintMIME,
				sizeof(formats[i].MIME)) == 0)) {
			return &formats[i];
		}
	}
	return NULL;
}


status_t
Rewind(BPositionIO *source)
{
	off_t position = source->Seek(0, SEEK_SET);
	if (position < 0) {
		return (status_t)position;
	}
	return position == 0 ? B_OK : B_IO_ERROR;
}


// Asks one translator about the stream; the caller has rewound it.
status_t
AskTranslator(const TranslatorModule &module, translator_id id,
	BPositionIO *source, const translation_format *hint,
	BMessage *ioExtension, uint32 wantType, translator_info *_info)
{
	translator_info info;
	memset(&info, 0, sizeof(info));
	status_t status = module.Identify(source, hint, ioExtension, &info,
		wantType);
	if (status != B_OK) {
		return status;
	}
	// The strings are the add-on's to fill; make sure they end.
	info.name[sizeof(info.name) - 1] = '\0';
	info.MIME[sizeof(info.MIME) - 1] = '\0';
	info.translator = id;
	*_info = info;
	return B_OK;
}

} // namespace


struct BTranslatorRoster::Private {
	mutable std::shared_mutex lock;
	std::vector<std::unique_ptr<TranslatorModule>> modules;

	const TranslatorModule *Find(translator_id id) const
	{
		std::shared_lock<std::shared_mutex> locker(lock);
		if (id == 0 || id > modules.size()) {
			return NULL;
		}
		return modules[id - 1].get();
	}

	std::vector<const TranslatorModule *> All() const
	{
		std::shared_lock<std::shared_mutex> locker(lock);
		std::vector<const TranslatorModule *> all;
		for (const auto &module : modules) {
			all.push_back(module.get());
		}
		return all;
	}

	// Takes the module unless the same file is already loaded.
	void Adopt(TranslatorModule *loaded)
	{
		std::unique_ptr<TranslatorModule> module(loaded);
		std::unique_lock<std::shared_mutex> locker(lock);
		for (const auto &known : modules) {
			if (known->Handle() == module->Handle()) {
				// Dropping the duplicate gives back its extra dlopen
				// reference; the first stays loaded.
				return;
			}
		}
		modules.push_back(std::move(module));
	}

	status_t Candidates(BPositionIO *source, BMessage *ioExtension,
		uint32 hintType, const char *hintMIME, uint32 wantType,
		std::vector<Candidate> *candidates) const;
};


status_t
BTranslatorRoster::Private::Candidates(BPositionIO *source,
	BMessage *ioExtension, uint32 hintType, const char *hintMIME,
	uint32 wantType, std::vector<Candidate> *candidates) const
{
	std::vector<const TranslatorModule *> all = All();
	for (size_t i = 0; i < all.size(); i++) {
		// Each translator sees the stream from its first byte, whatever
		// the one before it read.
		status_t status = Rewind(source);
		if (status != B_OK) {
			return status;
		}
		const TranslatorModule &module = *all[i];
		Candidate candidate;
		if (AskTranslator(module, (translator_id)(i + 1), source,
				HintFormat(module, hintType, hintMIME), ioExtension,
				wantType, &candidate.info) == B_OK) {
			candidate.score = candidate.info.quality
				* candidate.info.capability;
			candidates->push_back(candidate);
		}
	}
	return B_OK;
}


void
BPrivate::SetSkippedAddOnHook(skipped_add_on_hook hook)
{
	sSkippedAddOnHook = hook;
}


BTranslatorRoster::BTranslatorRoster()
	:
	fPrivate(new Private)
{
}


// Unloads in the reverse order of loading, so that an add-on never
// outlives one loaded before it.
BTranslatorRoster::~BTranslatorRoster()
{
	while (!fPrivate->modules.empty()) {
		fPrivate->modules.pop_back();
	}
	delete fPrivate;
}


BTranslatorRoster *
BTranslatorRoster::Default()
{
	// Never deleted: add-ons stay loaded until the process ends, so no
	// static destructor can find one unloaded.
	static BTranslatorRoster *sDefault = [] {
		BTranslatorRoster *roster = new BTranslatorRoster;
		roster->AddTranslators(NULL);
		return roster;
	}();
	return sDefault;
}


status_t
BTranslatorRoster::AddTranslators(const char *loadPath)
{
	std::string defaultPath;
	if (loadPath == NULL) {
		defaultPath = BPrivate::DefaultTranslatorPath();
		if (defaultPath.empty()) {
			return B_ENTRY_NOT_FOUND;
		}
		loadPath = defaultPath.c_str();
	}
	if (loadPath[0] == '\0') {
		return B_BAD_VALUE;
	}

	std::vector<std::string> files = BPrivate::ExpandTranslatorPath(loadPath);
	if (files.empty()) {
		return B_ENTRY_NOT_FOUND;
	}
	// Files that are not translators are skipped: a folder of add-ons may
	// hold other things.
	bool anyTranslator = false;
	for (const std::string &file : files) {
		status_t status;
		std::string why;
		TranslatorModule *module = TranslatorModule::Load(file.c_str(),
			&status, &why);
		if (module != NULL) {
			fPrivate->Adopt(module);
			anyTranslator = true;
		} else if (BPrivate::skipped_add_on_hook hook = sSkippedAddOnHook) {
			hook(file.c_str(), why.c_str());
		}
	}
	return anyTranslator ? B_OK : B_BAD_VALUE;
}


status_t
BTranslatorRoster::Identify(BPositionIO *source, BMessage *ioExtension,
	translator_info *_info, uint32 hintType, const char *hintMIME,
	uint32 wantType)
{
	if (source == NULL || _info == NULL) {
		return B_BAD_VALUE;
	}
	std::vector<Candidate> candidates;
	status_t status = fPrivate->Candidates(source, ioExtension, hintType,
		hintMIME, wantType, &candidates);
	if (status != B_OK) {
		return status;
	}
	// The first of the best: on a tie the translator loaded first wins.
	const Candidate *best = NULL;
	for (const Candidate &candidate : candidates) {
		if (best == NULL || candidate.score > best->score) {
			best = &candidate;
		}
	}
	if (best == NULL) {
		return B_NO_TRANSLATOR;
	}
	*_info = best->info;
	return B_OK;
}


status_t
BTranslatorRoster::GetTranslators(BPositionIO *source, BMessage *ioExtension,
	translator_info **_info, int32 *_numInfo, uint32 hintType,
	const char *hintMIME, uint32 wantType)
{
	if (source == NULL || _info == NULL || _numInfo == NULL) {
		return B_BAD_VALUE;
	}
	*_info = NULL;
	*_numInfo = 0;
	std::vector<Candidate> candidates;
	status_t status = fPrivate->Candidates(source, ioExtension, hintType,
		hintMIME, wantType, &candidates);
	if (status != B_OK) {
		return status;
	}
	if (candidates.empty()) {
		return B_NO_TRANSLATOR;
	}
	// Best first, in load order among equals.
	std::stable_sort(candidates.begin(), candidates.end(),
		[](const Candidate &a, const Candidate &b) {
			return a.score > b.score;
		});
	translator_info *list = new translator_info[candidates.size()];
	for (size_t i = 0; i < candidates.size(); i++) {
		list[i] = candidates[i].info;
	}
	*_info = list;
	*_numInfo = (int32)candidates.size();
	return B_OK;
}


status_t
BTranslatorRoster::GetAllTranslators(translator_id **_list, int32 *_count)
{
	if (_list == NULL || _count == NULL) {
		return B_BAD_VALUE;
	}
	size_t count = fPrivate->All().size();
	translator_id *list = new translator_id[count];
	for (size_t i = 0; i < count; i++) {
		list[i] = (translator_id)(i + 1);
	}
	*_list = list;
	*_count = (int32)count;
	return B_OK;
}


status_t
BTranslatorRoster::GetTranslatorInfo(translator_id translatorID,
	const char **_name, const char **_info, int32 *_version)
{
	const TranslatorModule *module = fPrivate->Find(translatorID);
	if (module == NULL || _name == NULL || _info == NULL
		|| _version == NULL) {
		return B_BAD_VALUE;
	}
	*_name = module->Name();
	*_info = module->Info();
	*_version = module->Version();
	return B_OK;
}


status_t
BTranslatorRoster::GetInputFormats(translator_id translatorID,
	const translation_format **_formats, int32 *_numFormats)
{
	const TranslatorModule *module = fPrivate->Find(translatorID);
	if (module == NULL || _formats == NULL || _numFormats == NULL) {
		return B_BAD_VALUE;
	}
	*_formats = module->InputFormats();
	*_numFormats = module->CountInputFormats();
	return B_OK;
}


status_t
BTranslatorRoster::GetOutputFormats(translator_id translatorID,
	const translation_format **_formats, int32 *_numFormats)
{
	const TranslatorModule *module = fPrivate->Find(translatorID);
	if (module == NULL || _formats == NULL || _numFormats == NULL) {
		return B_BAD_VALUE;
	}
	*_formats = module->OutputFormats();
	*_numFormats = module->CountOutputFormats();
	return B_OK;
}


status_t
BTranslatorRoster::Translate(BPositionIO *source, const translator_info *info,
	BMessage *ioExtension, BPositionIO *destination, uint32 wantOutType,
	uint32 hintType, const char *hintMIME)
{
	if (source == NULL || destination == NULL) {
		return B_BAD_VALUE;
	}
	translator_info identified;
	if (info == NULL) {
		status_t status = Identify(source, ioExtension, &identified,
			hintType, hintMIME, wantOutType);
		if (status != B_OK) {
			return status;
		}
		info = &identified;
	}
	const TranslatorModule *module = fPrivate->Find(info->translator);
	if (module == NULL) {
		return B_BAD_VALUE;
	}
	status_t status = Rewind(source);
	if (status != B_OK) {
		return status;
	}
	return module->Translate(source, info, ioExtension, wantOutType,
		destination);
}


status_t
BTranslatorRoster::Translate(translator_id translatorID, BPositionIO *source,
	BMessage *ioExtension, BPositionIO *destination, uint32 wantOutType)
{
	const TranslatorModule *module = fPrivate->Find(translatorID);
	if (module == NULL || source == NULL || destination == NULL) {
		return B_BAD_VALUE;
	}
	// The translator is told which of its input formats the stream is.
	status_t status = Rewind(source);
	if (status != B_OK) {
		return status;
	}
	translator_info info;
	status = AskTranslator(*module, translatorID, source, NULL, ioExtension,
		wantOutType, &info);
	if (status != B_OK) {
		return status;
	}
	status = Rewind(source);
	if (status != B_OK) {
		return status;
	}
	return module->Translate(source, &info, ioExtension, wantOutType,
		destination);
}


status_t
BTranslatorRoster::MakeConfigurationView(translator_id translatorID,
	BMessage *ioExtension, BView **_view, BRect *_extent)
{
	const TranslatorModule *module = fPrivate->Find(translatorID);
	if (module == NULL || _view == NULL || _extent == NULL) {
		return B_BAD_VALUE;
	}
	return module->MakeConfig(ioExtension, _view, _extent);
}


status_t
BTranslatorRoster::GetConfigurationMessage(translator_id translatorID,
	BMessage *ioExtension)
{
	const TranslatorModule *module = fPrivate->Find(translatorID);
	if (module == NULL || ioExtension == NULL) {
		return B_BAD_VALUE;
	}
	return module->GetConfigMessage(ioExtension);
}
