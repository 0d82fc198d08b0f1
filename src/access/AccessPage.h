#pragma once

#include "access/Reach.h"
#include "db/Lookups.h"
#include "ui/PageContext.h"

#include <QWidget>

class AccessCheckDialog;
class ChangePreviewDialog;
class ReachDialog;
class BoundGrid;
class BoundLabel;
class Dialogs;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class ScheduleEditor;
class TDataModule3;

// The page "Uprawnienia grup": groups, weekly schedule templates with their
// editor, and the permissions of the selected group on passages. The changes
// themselves are GroupChanges, TemplateChanges and PermissionChanges.
class AccessPage : public QWidget {
    Q_OBJECT
public:
    explicit AccessPage(const PageContext& context);

    // Groups.
    void FillGroupLists();
    void Button7Click();
    void Button6Click();
    void Button25Click();
    void DBGrid4CellClick();
    void DBGrid4KeyUp(int key, Qt::KeyboardModifiers shift);

    // Schedule templates.
    void LoadTemplate(int templateId);
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

    // The window "Sprawdź dostęp".
    void AccessCheckButtonClick();
    AccessCheckDialog* accessCheckDialog() const { return accessCheck_; }

    // The window "Kto i dokąd wejdzie".
    void ReachButtonClick();
    ReachDialog* reachDialog() const { return reach_; }

    // "Skutki...": who gains and who loses passage if the change beside the button
    // were made; shown in the window "Skutki zmiany", nothing written.
    void PreviewTemplateSaveClick();
    void PreviewPermissionRevokeClick();
    void PreviewGroupDeleteClick();
    void PreviewTemplateDeleteClick();
    ChangePreviewDialog* changePreview() const { return preview_; }

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
    QPushButton* AccessCheckButton = nullptr;   // "Sprawdź dostęp..."
    QPushButton* ReachButton = nullptr;         // "Kto i dokąd wejdzie..."
    QPushButton* PreviewTemplateSave = nullptr;      // "Skutki..." beside "Zapamiętaj zmiany"
    QPushButton* PreviewPermissionRevoke = nullptr;  // beside "Usuń uprawnienie >>>"
    QPushButton* PreviewGroupDelete = nullptr;       // under "Usuń grupę"
    QPushButton* PreviewTemplateDelete = nullptr;    // under "Usuń szablon"

private:
    QWidget* buildGroupPanel();
    QWidget* buildTemplatePanel();
    QWidget* buildPermissionPanel();
    void showPassageList();
    bool connected() const;
    QStringList dayStrings() const;   // the seven days of the editor's fields
    bool editorHoldsSchedule();       // tells the operator when it does not

    const PageContext context_;
    TDataModule3& m_;
    Dialogs& dialogs_;
    ScheduleEditor* editor_ = nullptr;
    AccessCheckDialog* accessCheck_ = nullptr;
    ReachDialog* reach_ = nullptr;
    ChangePreviewDialog* preview_ = nullptr;
    void showPreview(const QString& what, const AccessChange& change);
};
