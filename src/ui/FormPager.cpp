#include "ui/FormPager.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

QTabWidget* formPager(QWidget* parent, const char* name, QWidget* form,
                      const QString& editCaption, std::initializer_list<QPushButton*> editButtons,
                      const QString& addCaption, std::initializer_list<QPushButton*> addButtons)
{
    auto* pager = new QTabWidget(parent);
    pager->setObjectName(QString::fromLatin1(name));
    auto addTab = [pager](const QString& caption, std::initializer_list<QPushButton*> buttons) {
        auto* page = new QWidget();
        auto* layout = new QVBoxLayout(page);
        auto* buttonRow = new QHBoxLayout();
        for (QPushButton* button : buttons)
            buttonRow->addWidget(button);
        buttonRow->addStretch(1);
        layout->addLayout(buttonRow);
        layout->addStretch(1);
        pager->addTab(page, caption);
    };
    addTab(editCaption, editButtons);
    addTab(addCaption, addButtons);
    auto placeForm = [pager, form](int index) {
        if (auto* layout = qobject_cast<QVBoxLayout*>(pager->widget(index)->layout()))
            layout->insertWidget(0, form);
        form->show();
    };
    placeForm(0);
    pager->setCurrentIndex(0);
    QObject::connect(pager, &QTabWidget::currentChanged, pager, placeForm);
    return pager;
}
