// quorvel settings: the translator's stored defaults, shown and changed
// the way the platform's Translation preferences change them. The change
// is made in the translator's own configuration view; the translator's
// options are then read back with GetConfigurationMessage and stored where
// the kit's GetDefaultSettings finds them when the translator next loads.
#include <stdio.h>
#include <sys/stat.h>

#include <DefaultSettingsStore.h>
#include <Message.h>

#include "Commands.h"
#include "ConfigurationWindow.h"
#include "Failure.h"
#include "TranslatorHost.h"

namespace {

// A setting as the user names it, and the control that edits it in the
// configuration view.
struct SettingKey {
	const char *name;
	const char *alias;
	const char *control;
	const char *messageKey;
	bool isText;
};

const SettingKey kSettingKeys[] = {
	{"name", "database_name", "Name", "database_name", true},
	{"compression", "compress", "Compression", "compression", false},
	{"dithering", "dither", "Dithering", "dithering", false},
	{"high-contrast", "high_contrast", "Contrast", "high_contrast", false},
};

struct SettingChange {
	const SettingKey *key = NULL;
	std::string text;
	bool on = false;
};

const SettingKey *FindKey(const std::string &name)
{
	for (const SettingKey &key : kSettingKeys) {
		if (name == key.name || name == key.alias) {
			return &key;
		}
	}
	return NULL;
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
	change->key = FindKey(name);
	if (change->key == NULL) {
		return "unknown setting '" + name + "' (name, compression, "
			"dithering or high-contrast)";
	}
	change->text = operand.substr(equals + 1);
	if (!change->key->isText && !ParseSwitch(change->text, &change->on)) {
		return "setting " + name + " takes on or off, not '" + change->text
			+ "'";
	}
	return "";
}

void Apply(ConfigurationWindow &window, const SettingChange &change)
{
	bool found = change.key->isText
		? window.EnterText(change.key->control, change.text.c_str())
		: window.SetCheckBox(change.key->control, change.on);
	if (!found) {
		throw Failure(std::string("the configuration view has no control "
			"named \"") + change.key->control + "\"");
	}
}

void PrintSettings(const BMessage &settings, const std::string &path)
{
	for (const SettingKey &key : kSettingKeys) {
		if (key.isText) {
			printf("%s=%s\n", key.name,
				settings.GetString(key.messageKey, ""));
		} else {
			printf("%s=%s\n", key.name,
				settings.GetBool(key.messageKey, false) ? "on" : "off");
		}
	}
	struct stat status;
	bool stored = !path.empty() && stat(path.c_str(), &status) == 0;
	printf("# %s %s\n", stored ? "stored in" : "defaults; none stored yet in",
		path.empty() ? "(no settings folder)" : path.c_str());
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
			+ StatusName(status) + ")");
	}
	std::string path = BPrivate::DefaultSettingsPath(name);
	if (!changes.empty()) {
		status = BPrivate::StoreDefaultSettings(name, version, settings);
		if (status != B_OK) {
			throw Failure(path.empty() ? std::string(name) : path,
				"cannot store the settings (" + StatusName(status) + ")");
		}
	}
	if (line.view) {
		fputs(view.c_str(), stdout);
		if (!view.empty() && view.back() != '\n') {
			putchar('\n');
		}
		return kExitSuccess;
	}
	PrintSettings(settings, path);
	return kExitSuccess;
}
