#pragma once

#include <QString>

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
    virtual ConnectAnswer connectMessage(const QString& text) = 0;
    // The error box: title "Valdrix", the error's text, button OK.
    virtual void errorBox(const QString& text) = 0;
    // File dialogs; an empty name means the operator cancelled.
    virtual QString saveFileName(const QString& filter, const QString& defaultSuffix,
                                 const QString& presetName) = 0;
    virtual QString openFileName(const QString& filter) = 0;
};

// The real dialogs, as Qt message boxes and file dialogs.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void notice(const QString& text) override;
    bool question(const QString& text) override;
    ConnectAnswer connectMessage(const QString& text) override;
    void errorBox(const QString& text) override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix,
                         const QString& presetName) override;
    QString openFileName(const QString& filter) override;

private:
    QWidget* parent_;
};
