#pragma once

#include <QHash>
#include <QString>

#include <functional>

class QFileDialog;
class QMessageBox;
class QWidget;

// Every message box and file dialog of the program goes through here, so that
// tests can answer them and read what was shown.
class Dialogs {
public:
    enum class ConnectAnswer { Yes, Cancel, All };

    virtual ~Dialogs() = default;

    // A notice: no icon, title "Valdrix", button OK.
    virtual void notice(const QString& text) = 0;
    // A question: title "Confirm", buttons "&Yes" and "&No"; true only for Yes.
    virtual bool question(const QString& text) = 0;
    // The connect messages: no icon, title "Valdrix", buttons Yes, Cancel and All.
    // `details` is the server's or the client library's own reason, empty when
    // there is none; the box offers it beside its text.
    virtual ConnectAnswer connectMessage(const QString& text, const QString& details) = 0;
    // The error box: title "Valdrix", the error's text, button OK.
    virtual void errorBox(const QString& text) = 0;
    // File dialogs; an empty name means the operator cancelled. The filter names
    // the kind of file ("CSV|csv", "csv|*.csv").
    virtual QString saveFileName(const QString& filter, const QString& defaultSuffix,
                                 const QString& presetName) = 0;
    virtual QString openFileName(const QString& filter) = 0;
};

// The real dialogs, as Qt message boxes and file dialogs. Texts are shown as
// plain text, exactly as given: a stored name that looks like markup stays as typed.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void notice(const QString& text) override;
    bool question(const QString& text) override;
    ConnectAnswer connectMessage(const QString& text, const QString& details) override;
    void errorBox(const QString& text) override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix,
                         const QString& presetName) override;
    QString openFileName(const QString& filter) override;

    // The folder a file dialog of this kind opens in: the folder of the file last
    // chosen in one of the same kind (same filter, open or save) in this session,
    // while it exists, else the working folder.
    QString startFolder(const QString& kind) const;

protected:
    // Show the box or the dialog and wait for the operator (exec). Tests answer
    // here instead, and so see what would have been shown.
    virtual int runBox(QMessageBox& box);
    virtual QString runFileDialog(QFileDialog& dialog);

private:
    // Builds the dialog in the folder of its kind, lets `setUp` finish it, runs it
    // and remembers the folder of the file chosen.
    QString chooseFile(const QString& kind, const QString& filter, const QString& presetName,
                       const std::function<void(QFileDialog&)>& setUp);

    QWidget* parent_;
    QHash<QString, QString> lastFolders_;   // kind -> folder of the last file chosen
};
