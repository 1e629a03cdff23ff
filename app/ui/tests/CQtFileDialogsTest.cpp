#include "ui/CQtFileDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "UiTestKit.h"
#include "ui/UiText.h"

namespace {

// What a file dialog showed, and the answer it was given: `name` chosen in `folder`.
struct Asked {
    QString title;
    QStringList filters;
    bool confirmsOverwrite = false;
};

ModalAnswerer choose(Asked& asked, const QString& folder, const QString& name) {
    return ModalAnswerer("QFileDialog", [&asked, folder, name](QWidget* window) {
        auto* dialog = static_cast<QFileDialog*>(window);
        asked = {dialog->windowTitle(), dialog->nameFilters(), !dialog->testOption(QFileDialog::DontConfirmOverwrite)};
        dialog->setDirectory(folder);
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
}

}  // namespace

TEST(CQtFileDialogs, FacilityFilesAreAskedForWithTheirTitleAndFilters) {
    QTemporaryDir dir;
    CQtFileDialogs dialogs;
    Asked asked;
    QString saved;
    {
        ModalAnswerer answer = choose(asked, dir.path(), "site");
        saved = dialogs.saveFacility(dir.path());
    }
    EXPECT_EQ(asked.title, loadText(86));
    EXPECT_EQ(asked.filters, QStringList({loadText(35) + " (*.kvg)"}));
    EXPECT_TRUE(asked.confirmsOverwrite);
    EXPECT_EQ(saved, dir.filePath("site.kvg"));  // the extension comes with the name typed

    QFile file(dir.filePath("site.kvg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString opened;
    {
        ModalAnswerer answer = choose(asked, dir.path(), "site.kvg");
        opened = dialogs.openFacility();
    }
    EXPECT_EQ(asked.title, loadText(86));
    EXPECT_EQ(asked.filters, QStringList({loadText(34) + " (*.kvg)"}));
    EXPECT_EQ(opened, dir.filePath("site.kvg"));
}
