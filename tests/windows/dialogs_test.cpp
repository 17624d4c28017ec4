#include "windows/common/dialogs.h"

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

const QString kSaveFilter = QStringLiteral(
    "JPEG File Interchange Format (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmap Image (*.bmp)|*.bmp");

TEST(FileFilters, OldFormBecomesQtFilters)
{
    struct Case { QString oldForm; QStringList qt; QStringList extensions; };
    const Case cases[] = {
        { kSaveFilter, { "JPEG File Interchange Format (*.jpg *.jpeg)", "Bitmap Image (*.bmp)" }, { "jpg", "bmp" } },
        { "All supported Images|*.gif;*.jpg;*.jpeg;*.bmp", { "All supported Images (*.gif *.jpg *.jpeg *.bmp)" }, { "gif" } },
        { "Everything|*.*", { "Everything (*.*)" }, { "" } },
        { "Pictures|*.png|Dangling description", { "Pictures (*.png)" }, { "png" } },
        { "|*.txt", { "*.txt (*.txt)" }, { "txt" } },
        { "No patterns|", {}, {} },
        { "", {}, {} },
    };
    for (const Case& c : cases) {
        const auto filters = parseFileFilter(c.oldForm);
        EXPECT_EQ(qtFileFilters(filters), c.qt) << c.oldForm.toStdString();
        QStringList extensions;
        for (const FileFilter& filter : filters)
            extensions.append(filter.extension());
        EXPECT_EQ(extensions, c.extensions) << c.oldForm.toStdString();
    }
}

} // namespace
