#pragma once

#include <QString>

namespace platform {

// The desktop shell: well-known folders, the web browser, ending the program.
class Shell {
public:
    virtual ~Shell() = default;
    // The user's desktop folder without trailing separator, or the home folder
    // where the desktop folder does not exist; throws platform::Failure when
    // neither can be determined.
    virtual QString desktopFolder() = 0;
    virtual void openUrl(const QString& address) = 0;
    // Ends the whole program at once (every window closes, nothing else runs).
    virtual void endProgram() = 0;
};

class DesktopShell : public Shell {
public:
    QString desktopFolder() override;
    void openUrl(const QString& address) override;
    void endProgram() override;
};

}  // namespace platform
