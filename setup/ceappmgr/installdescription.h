#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An installation description: an INI file naming the application, its
// folder on the device, the files to copy there and the device programs to
// register. See README.md ("The installation description") for the format.
struct InstallDescription {
    struct FileSet {
        QString name;
        QString source;      // relative to the description's folder; may end in a *.ext pattern
        QString destination; // a device folder
        bool replace = true; // false: an existing file on the device is kept
        bool onlyIntoEmpty = false; // true: copied only while the destination folder is empty or absent
    };
    // A setting a new user starts with, below settingsKey; one already there is kept.
    struct SettingDefault {
        QString section;
        QString name;
        quint32 value = 0;
    };
    struct AppPath {
        QString program; // a device program's file name, "pword.exe"
        QString role;    // "open" (the desktop's viewer) or "send" (the nearby-device sender)
    };

    QString appName;
    QString installDir;
    QString settingsKey; // the program's settings key below HKEY_CURRENT_USER; may be empty
    QList<FileSet> files;
    QList<AppPath> appPaths;
    QList<SettingDefault> settingDefaults;

    // Reads the description; on failure *error says why.
    static bool Read(const QString& path, InstallDescription* description, QString* error);
    static bool Parse(const QByteArray& text, InstallDescription* description, QString* error);
};
