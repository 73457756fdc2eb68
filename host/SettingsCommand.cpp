// quorvel settings: the translator's stored defaults, shown and changed
// the way the platform's Translation preferences change them. The change
// is made in the translator's own configuration view; the translator's
// options are then read back with GetConfigurationMessage and stored where
// the kit's GetDefaultSettings finds them when the translator next loads.
//
// Only the settings named on the command line are stored over what the
// file holds when the store's lock is taken: two changes made at the same
// time, of different settings, both survive.
#include <stdio.h>

#include <DefaultSettingsStore.h>
#include <Message.h>
#include <PilotSettingTable.h>

#include "Commands.h"
#include "ConfigurationWindow.h"
#include "Failure.h"
#include "StatusText.h"
#include "TemporaryFiles.h"
#include "TranslatorHost.h"

namespace {

// A setting as the user names it (its word in the options' table), the
// control that edits it in the configuration view and its key in the
// translator's messages all come from PILOT_SETTINGS.
struct SettingChange {
	const PilotSettingRow *setting = NULL;
	std::string text;
	bool on = false;
};

bool IsText(const PilotSettingRow &setting)
{
	return setting.type == B_STRING_TYPE;
}

const PilotSettingRow *FindKey(const std::string &name)
{
	for (const PilotSettingRow &setting : PILOT_SETTINGS) {
		if (name == setting.word || name == setting.alias) {
			return &setting;
		}
	}
	return NULL;
}

// "name, compression, dithering or high-contrast"
std::string SettingWords()
{
	std::string words;
	for (int row = 0; row < PILOT_SETTING_COUNT; row++) {
		if (row > 0) {
			words += row + 1 < PILOT_SETTING_COUNT ? ", " : " or ";
		}
		words += PILOT_SETTINGS[row].word;
	}
	return words;
}

bool ParseSwitch(const std::string &value, bool *on)
{
	static const char *const kOn[] = {"on", "true", "yes", "1"};
	static const char *const kOff[] = {"off", "false", "no", "0"};
	for (const char *word : kOn) {
		if (value == word) {
			*on = true;
			return true;
		}
	}
	for (const char *word : kOff) {
		if (value == word) {
			*on = false;
			return true;
		}
	}
	return false;
}

std::string ParseChange(const std::string &operand, SettingChange *change)
{
	size_t equals = operand.find('=');
	if (equals == std::string::npos) {
		return "expected KEY=VALUE, not '" + operand + "'";
	}
	std::string name = operand.substr(0, equals);
	change->setting = FindKey(name);
	if (change->setting == NULL) {
		return "unknown setting '" + name + "' (" + SettingWords() + ")";
	}
	change->text = operand.substr(equals + 1);
	if (!IsText(*change->setting) && !ParseSwitch(change->text, &change->on)) {
		return "setting " + name + " takes on or off, not '" + change->text
			+ "'";
	}
	return "";
}

void Apply(ConfigurationWindow &window, const SettingChange &change)
{
	bool found = IsText(*change.setting)
		? window.EnterText(change.setting->control, change.text.c_str())
		: window.SetCheckBox(change.setting->control, change.on);
	if (!found) {
		throw Failure(std::string("the configuration view has no control "
			"named \"") + change.setting->control + "\"");
	}
}

bool IsChanged(const PilotSettingRow &setting,
	const std::vector<SettingChange> &changes)
{
	for (const SettingChange &change : changes) {
		if (change.setting == &setting) {
			return true;
		}
	}
	return false;
}

bool HasValue(const BMessage &settings, const PilotSettingRow &setting)
{
	type_code type;
	return settings.GetInfo(setting.key, &type) == B_OK
		&& type == setting.type;
}

// The settings file written aside, removed as outputs' temporary files are
// when a signal stops quorvel.
class SignalSafeTemporaryFile : public BPrivate::TemporaryFileKeeper {
public:
	int Create(const std::string &path,
		const std::function<int()> &create) override
	{
		return fName.Create(path, create);
	}

	void Forget() override { fName.Forget(); }

private:
	TemporaryName fName;
};

// Stores the changed settings over those stored now; a setting the file
// lacks (or holds with the wrong type) gets the translator's current value.
// Gives the settings as stored.
BMessage StoreChanges(const char *name, int32 version,
	const std::vector<SettingChange> &changes, const BMessage &current,
	const std::string &path)
{
	BMessage result;
	SignalSafeTemporaryFile temporary;
	status_t status = BPrivate::UpdateDefaultSettings(name, version,
		[&](BMessage &stored) -> status_t {
			for (const PilotSettingRow &setting : PILOT_SETTINGS) {
				if (!IsChanged(setting, changes) && HasValue(stored, setting)) {
					continue;
				}
				stored.RemoveName(setting.key);
				status_t added = IsText(setting)
					? stored.AddString(setting.key,
						current.GetString(setting.key, ""))
					: stored.AddBool(setting.key,
						current.GetBool(setting.key, false));
				if (added != B_OK) {
					return added;
				}
			}
			result = stored;
			return B_OK;
		}, &temporary);
	if (status != B_OK) {
		throw Failure(path.empty() ? std::string(name) : path,
			"cannot store the settings (" + (status == B_BAD_TYPE
				? std::string("not a regular file; left as it is")
				: DescribeStatus(status)) + ")");
	}
	return result;
}

// Why a settings file that exists cannot be used.
std::string UnusableBecause(status_t status)
{
	switch (status) {
		case B_BAD_DATA:
			return "not a settings file, or damaged";
		case B_FILE_TOO_LARGE:
			return "larger than "
				+ std::to_string(BPrivate::kMaxDefaultSettingsSize >> 10)
				+ " KiB";
		case B_MISMATCHED_VALUES:
			return "it holds another translator's settings";
		case B_BAD_TYPE:
			return "not a regular file";
	}
	return DescribeStatus(status);
}

// The comment line after the settings: where they are stored, or why the
// defaults apply.
std::string StoreLine(const char *name, const std::string &path)
{
	if (path.empty()) {
		return "# defaults; no settings folder (set HOME or XDG_CONFIG_HOME)";
	}
	BMessage stored;
	status_t status = BPrivate::ReadDefaultSettings(name, &stored);
	if (status == B_OK) {
		return "# stored in " + path;
	}
	if (status == B_ENTRY_NOT_FOUND) {
		return "# defaults; none stored yet in " + path;
	}
	return "# defaults apply: " + path + " cannot be used ("
		+ UnusableBecause(status) + ")";
}

void PrintSettings(const BMessage &settings, const std::string &storeLine)
{
	for (const PilotSettingRow &setting : PILOT_SETTINGS) {
		if (IsText(setting)) {
			printf("%s=%s\n", setting.word,
				settings.GetString(setting.key, ""));
		} else {
			printf("%s=%s\n", setting.word,
				settings.GetBool(setting.key, false) ? "on" : "off");
		}
	}
	printf("%s\n", storeLine.c_str());
}

} // namespace

int RunSettings(const CommandLine &line)
{
	std::vector<SettingChange> changes;
	for (const std::string &operand : line.operands) {
		SettingChange change;
		std::string error = ParseChange(operand, &change);
		if (!error.empty()) {
			return UsageError(error);
		}
		changes.push_back(change);
	}

	TranslatorHost host(line.translatorsFolder);
	BTranslatorRoster &roster = host.Roster();
	translator_id id = host.PilotTranslator();
	const char *name = NULL;
	const char *info = NULL;
	int32 version = 0;
	if (roster.GetTranslatorInfo(id, &name, &info, &version) != B_OK) {
		throw Failure("the translator does not tell its name");
	}

	std::string view;
	if (!changes.empty() || line.view) {
		ConfigurationWindow window(roster, id);
		for (const SettingChange &change : changes) {
			Apply(window, change);
		}
		if (line.view) {
			view = window.Dump();
		}
		window.Close();
	}

	BMessage settings;
	status_t status = roster.GetConfigurationMessage(id, &settings);
	if (status != B_OK) {
		throw Failure(std::string(name), "cannot read the settings ("
			+ DescribeStatus(status) + ")");
	}
	std::string path = BPrivate::DefaultSettingsPath(name);
	if (!changes.empty()) {
		settings = StoreChanges(name, version, changes, settings, path);
	}
	if (line.view) {
		fputs(view.c_str(), stdout);
		if (!view.empty() && view.back() != '\n') {
			putchar('\n');
		}
		return kExitSuccess;
	}
	PrintSettings(settings, StoreLine(name, path));
	return kExitSuccess;
}
