// The small controls: date and time picker, editable list, numeric combo box, string conversions.
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "mica/KvDateTimePicker.h"
#include "mica/KvEditableList.h"
#include "mica/KvNumCombo.h"
#include "mica/KvQtString.h"

TEST(KvDateTimePicker, ModesAndYearRange) {
    KvDateTimePicker time(KvDateTimePicker::Time);
    EXPECT_TRUE(time.displayFormat().contains(u's'));  // a clock is set to the second
    EXPECT_FALSE(time.calendarPopup());

    KvDateTimePicker date(KvDateTimePicker::Date);
    EXPECT_TRUE(date.calendarPopup());
    EXPECT_EQ(date.minimumDate(), QDate(2000, 1, 1));
    date.SetYearRange(2000, 2255);
    date.setDate(QDate(2300, 5, 5));
    EXPECT_EQ(date.date(), QDate(2255, 12, 31));
    date.setDate(QDate(1999, 12, 31));
    EXPECT_EQ(date.date(), QDate(2000, 1, 1));
}

namespace {

// The list's one editor; an editor closed before is deleted first so it is not found instead.
QLineEdit* openEditor(KvEditableList& list) {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    return list.findChild<QLineEdit*>();
}

}  // namespace

TEST(KvEditableList, InsertEditAndRemove) {
    KvEditableList list;
    QSignalSpy changed(&list, &KvEditableList::itemsChanged);
    list.SetItems({QStringLiteral("north"), QStringLiteral("south")});
    EXPECT_EQ(changed.count(), 0);
    list.show();

    list.AddNew();
    QLineEdit* editor = openEditor(list);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("east"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits on a queued call
    EXPECT_EQ(list.Items(), (QStringList{"north", "south", "east"}));
    EXPECT_EQ(changed.count(), 1);

    list.setCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(list.Items(), (QStringList{"south", "east"}));
    EXPECT_EQ(changed.count(), 2);
}

TEST(KvEditableList, BlankRowsDoNotStay) {
    KvEditableList list;
    list.SetItems({QStringLiteral("north")});
    list.show();

    list.AddNew();
    QLineEdit* editor = openEditor(list);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(list.Items(), QStringList{"north"});

    list.setCurrentRow(0);
    list.editItem(list.item(0));
    editor = openEditor(list);
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("   "));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(list.Items().isEmpty());
    EXPECT_FALSE(list.RemoveCurrent());
}

TEST(KvNumCombo, TakesOnlyNumbersInRange) {
    KvNumCombo combo;
    combo.SetRange(1, 250);
    EXPECT_TRUE(combo.AddValue(1));
    EXPECT_TRUE(combo.AddValue(250));
    EXPECT_FALSE(combo.AddValue(251));
    EXPECT_EQ(combo.count(), 2);

    QSignalSpy values(&combo, &KvNumCombo::valueChanged);
    combo.SetValue(300);
    EXPECT_EQ(combo.Value(), 250);
    combo.SetValue(12);
    EXPECT_EQ(combo.Value(), 12);
    ASSERT_GE(values.count(), 1);
    EXPECT_EQ(values.last().at(0).toInt(), 12);

    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), QStringLiteral("4a"));
    EXPECT_EQ(combo.currentText(), QStringLiteral("4"));  // the letter never gets in
    EXPECT_EQ(combo.Value(), 4);
    combo.lineEdit()->clear();
    EXPECT_FALSE(combo.HasValue());
    EXPECT_EQ(combo.Value(), 1);

    combo.SetRange(-5, 5);
    QTest::keyClicks(combo.lineEdit(), QStringLiteral("-"));
    EXPECT_EQ(combo.currentText(), QStringLiteral("-"));  // unfinished, but kept
    EXPECT_FALSE(combo.HasValue());
}

TEST(KvQtString, WideAndUtf8RoundTrips) {
    const char16_t text[] = u"Zone \u00e9 \U0001F525";
    const KvWString wide(text);
    const QString converted = KvToQString(wide);
    EXPECT_EQ(converted, QString::fromUtf16(text));
    EXPECT_EQ(KvFromQString(converted), wide);

    const KvString utf8 = KvUtf8FromQString(converted);
    EXPECT_EQ(KvToQString(utf8), converted);
    EXPECT_EQ(KvToQString(KvString("\xff")), QString(QChar(0xFFFD)));
    EXPECT_TRUE(KvFromQString(QString()).IsEmpty());
}
