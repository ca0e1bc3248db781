#pragma once
// What the windows work with: the program's long-lived objects, created by
// the start-up before the main window and outliving every window.

#include <QString>

namespace quillbay {

class Manager;
class Options;
class ProgramState;
class Registry;
class SettingsStore;

struct ProgramContext {
    Manager &manager;
    Options &options;
    SettingsStore &store;
    Registry &registry;
    ProgramState &state;
    QString programFolder;                                    // where the help pages lie
    QString openerProgram = QStringLiteral("QuillbayOpener"); // what the file managers' folder command runs
};

} // namespace quillbay
