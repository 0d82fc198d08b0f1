#pragma once

#include "app/Lookups.h"

#include <QWidget>

class BoundGrid;
class BoundLabel;
class Dialogs;
class QCheckBox;
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

    // Permissions of groups on passages.
    void RefreshGroupPermissions();
    void Button12Click();
    void Button13Click();
    void DBGrid6CellClick();
    void DBGrid6MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

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
    BoundLabel* groupCaption = nullptr;     // "Lista uprawnień dla grupy: " and the group
    BoundGrid* DBGrid6 = nullptr;           // permissions of the group, several rows selectable
    QPushButton* Button13 = nullptr;        // "Usuń uprawnienie >>>"
    QListWidget* CheckListBox1 = nullptr;   // "Lista przejść", one check box per passage
    QCheckBox* CheckBox2 = nullptr;         // "Czytnik A"
    QCheckBox* CheckBox3 = nullptr;         // "Czytnik B"
    BoundLabel* grantCaption = nullptr;     // "Dodaj uprawnienie: " the template ...
    QPushButton* Button12 = nullptr;        // "<<< Dodaj uprawnienie"

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
    void grantPassage(int templateId, int groupId, const Tczytniki& passage, bool& bumping);

    TForm1& form_;
    TDataModule3& m_;
    Dialogs& dialogs_;
    ScheduleEditor* editor_ = nullptr;
};
