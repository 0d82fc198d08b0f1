#pragma once

#include <QWidget>

class BoundGrid;
class Dialogs;
class QLineEdit;
class QListWidget;
class QPushButton;
class ScheduleEditor;
class TDataModule3;
class TForm1;

// The page "Uprawnienia grup": groups, weekly schedule templates with their
// editor, and the permissions of the selected group on passages.
class AccessPage : public QWidget {
    Q_OBJECT
public:
    explicit AccessPage(TForm1& form);

    // Groups.
    void FillGroupLists();
    int GroupNameExists(const QString& name);
    void RenameGroup(const QString& name);
    void Button7Click();
    void Button6Click();
    void Button25Click();
    void DBGrid4CellClick();
    void DBGrid4KeyUp(int key, Qt::KeyboardModifiers shift);

    // Schedule templates.
    void LoadTemplate(int templateId);
    void RenameTemplate(const QString& name);
    void Button11Click();
    void Button9Click();
    void Button10Click();
    void Button26Click();
    void DBGrid5CellClick();

    // The permission list of the current group; arrives with the permissions.
    void RefreshGroupPermissions();

    ScheduleEditor* editor() const { return editor_; }

    BoundGrid* DBGrid4 = nullptr;      // groups
    QLineEdit* Edit5 = nullptr;        // group name
    QPushButton* Button7 = nullptr;    // "Dodaj grupę"
    QPushButton* Button6 = nullptr;    // "Usuń grupę"
    QPushButton* Button25 = nullptr;   // "Zmień nazwę" of a group
    BoundGrid* DBGrid5 = nullptr;      // templates
    QLineEdit* Edit9 = nullptr;        // template name
    QPushButton* Button9 = nullptr;    // "Dodaj szablon"
    QPushButton* Button10 = nullptr;   // "Usuń szablon"
    QPushButton* Button26 = nullptr;   // "Zmień nazwę" of a template
    QListWidget* CheckListBox1 = nullptr;   // "Lista przejść", one check box per passage

private:
    QWidget* buildGroupPanel();
    QWidget* buildTemplatePanel();
    QWidget* buildPermissionPanel();
    void showPassageList();
    bool connected() const;
    int currentGroupId() const;
    int currentTemplateId() const;
    QString quoted(const QString& text) const;   // 'text', escaped by the connection
    QString dayString(int row) const;            // start ":" end of a day row's fields
    bool editorHoldsSchedule();                  // tells the operator when it does not

    TForm1& form_;
    TDataModule3& m_;
    Dialogs& dialogs_;
    ScheduleEditor* editor_ = nullptr;
};
