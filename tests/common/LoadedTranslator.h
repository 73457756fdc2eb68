// The add-on as an application meets it: loaded from its module file by a
// roster, reached only through the roster's calls, and named through its
// public header.
#ifndef QUORVEL_TEST_LOADED_TRANSLATOR_H
#define QUORVEL_TEST_LOADED_TRANSLATOR_H

#include <PilotTranslator.h>
#include <TranslatorRoster.h>

#include <gtest/gtest.h>

class LoadedTranslator {
public:
	LoadedTranslator()
	{
		fStatus = fRoster.AddTranslators(QUORVEL_ADDON_PATH);
		translator_id *list = NULL;
		int32 count = 0;
		if (fStatus == B_OK
			&& fRoster.GetAllTranslators(&list, &count) == B_OK
			&& count == 1) {
			fID = list[0];
		} else {
			fStatus = B_ERROR;
		}
		delete[] list;
	}

	status_t InitCheck() const { return fStatus; }
	BTranslatorRoster &Roster() { return fRoster; }
	translator_id ID() const { return fID; }

private:
	BTranslatorRoster fRoster;
	translator_id fID = 0;
	status_t fStatus;
};

#endif // QUORVEL_TEST_LOADED_TRANSLATOR_H
