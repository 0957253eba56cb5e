#include "platform/desktop_applications.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

using Group = std::map<QString, QString>;  // key -> value as written
using KeyFile = std::map<QString, Group>;  // group name -> keys

// A desktop key file: "[Group]" headers, "key=value" lines, "#" comments.
KeyFile readKeyFile(const QString& path) {
    KeyFile groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return groups;
    Group* current = nullptr;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = &groups[line.mid(1, line.size() - 2)];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (current && equals > 0)
            current->emplace(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return groups;
}

QString valueOf(const KeyFile& file, const char* group, const QString& key) {
    const auto found = file.find(QLatin1String(group));
    if (found == file.end()) return {};
    const auto value = found->second.find(key);
    return value == found->second.end() ? QString() : value->second;
}

QStringList listOf(const QString& value) {
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

// A string value with its escapes (\s, \n, \t, \r, \\) resolved.
QString unescaped(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        static const std::map<QChar, QChar> escapes{{QLatin1Char('s'), QLatin1Char(' ')},
                                                    {QLatin1Char('n'), QLatin1Char('\n')},
                                                    {QLatin1Char('t'), QLatin1Char('\t')},
                                                    {QLatin1Char('r'), QLatin1Char('\r')}};
        const auto escape = escapes.find(next);
        text += escape == escapes.end() ? next : escape->second;
    }
    return text;
}

QStringList applicationFolders() {
    QStringList folders;
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath(QStringLiteral("applications"));
    return folders;
}

// The mimeapps.list files by precedence: user configuration, system
// configuration, then the applications folders; in each, the lists of the
// current desktops come before the general one.
QStringList mimeappsLists() {
    QStringList desktops;
    for (const QString& desktop :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        desktops << desktop.toLower() + QStringLiteral("-mimeapps.list");
    desktops << QStringLiteral("mimeapps.list");
    QStringList lists;
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation) +
        applicationFolders();
    for (const QString& folder : folders)
        for (const QString& name : desktops) lists << QDir(folder).filePath(name);
    return lists;
}

// The arguments of an Exec line: blanks separate them; in double quotes,
// a backslash keeps the next character as it is.
QStringList splitExec(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else if (c == QLatin1Char('\\') && i + 1 < exec.size())
                current += exec[++i];
            else
                current += c;
        } else if (c == QLatin1Char('"')) {
            quoted = inArgument = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArgument) arguments << current;
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) arguments << current;
    return arguments;
}

bool canRun(const QString& program) {
    if (QDir::isAbsolutePath(program)) return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

// An application that can be started: shown or not, but not hidden, with a
// command whose program is present, as is its TryExec program when it names one.
bool isRunnable(const KeyFile& entry) {
    const auto value = [&](const char* key) {
        return valueOf(entry, "Desktop Entry", QLatin1String(key));
    };
    if (value("Type") != QLatin1String("Application")) return false;
    if (value("Hidden") == QLatin1String("true")) return false;
    const QStringList command = splitExec(unescaped(value("Exec")));
    if (command.isEmpty() || !canRun(command.first())) return false;
    const QString tryExec = unescaped(value("TryExec"));
    return tryExec.isEmpty() || canRun(tryExec);
}

// Every desktop file by its id (its path below an applications folder, with
// '-' for '/'), in the order of the folders; an id in a folder of higher
// precedence hides the same id further down.
std::vector<std::pair<QString, QString>> desktopFiles() {
    std::vector<std::pair<QString, QString>> files;
    std::set<QString> seen;
    for (const QString& folder : applicationFolders()) {
        QStringList paths;
        QDirIterator found(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (found.hasNext()) paths << found.next();
        paths.sort();
        for (const QString& path : paths) {
            const QString id =
                QDir(folder).relativeFilePath(path).replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seen.insert(id).second) files.emplace_back(id, path);
        }
    }
    return files;
}

}  // namespace

QString defaultApplicationFor(const QString& mimeType) {
    std::vector<KeyFile> lists;
    for (const QString& path : mimeappsLists()) lists.push_back(readKeyFile(path));
    const std::vector<std::pair<QString, QString>> files = desktopFiles();
    // The desktop file of an application that can be started, or "".
    const auto installed = [&](const QString& id) {
        for (const auto& [known, path] : files)
            if (known == id) return isRunnable(readKeyFile(path)) ? path : QString();
        return QString();
    };

    for (const KeyFile& list : lists) {
        for (const QString& id : listOf(valueOf(list, "Default Applications", mimeType)))
            if (const QString path = installed(id); !path.isEmpty()) return path;
    }
    // No default: the most preferred association. A removal hides the
    // association in the lists below it and in the desktop files.
    std::set<QString> removed;
    for (const KeyFile& list : lists) {
        for (const QString& id : listOf(valueOf(list, "Added Associations", mimeType))) {
            if (removed.count(id)) continue;
            if (const QString path = installed(id); !path.isEmpty()) return path;
        }
        for (const QString& id : listOf(valueOf(list, "Removed Associations", mimeType)))
            removed.insert(id);
    }
    for (const auto& [id, path] : files) {
        if (removed.count(id)) continue;
        const KeyFile entry = readKeyFile(path);
        const QString types = valueOf(entry, "Desktop Entry", QStringLiteral("MimeType"));
        if (listOf(types).contains(mimeType) && isRunnable(entry)) return path;
    }
    return {};
}

QStringList commandToOpen(const QString& desktopFile, const QString& file) {
    const KeyFile entry = readKeyFile(desktopFile);
    const auto value = [&](const char* key) {
        return unescaped(valueOf(entry, "Desktop Entry", QLatin1String(key)));
    };
    QStringList command;
    bool fileGiven = false;
    for (const QString& argument : splitExec(value("Exec"))) {
        // Field codes: a lone %f/%F/%u/%U is the file, %i the icon option, %c
        // the name, %k this desktop file; %% is a percent sign; others go.
        if (argument == QLatin1String("%f") || argument == QLatin1String("%F")) {
            command << file;
            fileGiven = true;
            continue;
        }
        if (argument == QLatin1String("%u") || argument == QLatin1String("%U")) {
            command << QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
            fileGiven = true;
            continue;
        }
        if (argument == QLatin1String("%i")) {
            if (!value("Icon").isEmpty()) command << QStringLiteral("--icon") << value("Icon");
            continue;
        }
        QString expanded;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] != QLatin1Char('%') || i + 1 == argument.size()) {
                expanded += argument[i];
                continue;
            }
            const QChar code = argument[++i];
            if (code == QLatin1Char('%')) expanded += code;
            if (code == QLatin1Char('c')) expanded += value("Name");
            if (code == QLatin1Char('k')) expanded += desktopFile;
        }
        // A field code that stands for nothing leaves no argument behind.
        if (expanded.isEmpty() && argument.startsWith(QLatin1Char('%'))) continue;
        command << expanded;
    }
    if (command.isEmpty() || command.first().isEmpty()) return {};
    // A command without a place for files takes the file at its end.
    if (!fileGiven) command << file;
    return command;
}

}  // namespace platform
