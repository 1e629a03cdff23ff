#include "mica/KvHyperlink.h"

#include <QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

TEST(KvHyperlink, ClickSpaceAndEnterEmitClicked) {
    KvHyperlink link(QStringLiteral("Open the manual"));
    QSignalSpy clicked(&link, &QAbstractButton::clicked);
    link.show();
    QTest::mouseClick(&link, Qt::LeftButton, {}, link.rect().center());
    QTest::keyClick(&link, Qt::Key_Space);
    QTest::keyClick(&link, Qt::Key_Return);
    QTest::keyClick(&link, Qt::Key_Enter);
    EXPECT_EQ(clicked.count(), 4);

    link.setEnabled(false);
    QTest::mouseClick(&link, Qt::LeftButton, {}, link.rect().center());
    QTest::keyClick(&link, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 4);
}

TEST(KvHyperlink, ReachedByTabAndSizedToItsText) {
    QWidget window;
    auto* link = new KvHyperlink(QStringLiteral("Details"), &window);
    EXPECT_EQ(link->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_GE(link->sizeHint().width(), link->fontMetrics().horizontalAdvance(QStringLiteral("Details")));
    EXPECT_GE(link->sizeHint().height(), link->fontMetrics().height());
    // Painting with and without focus must not fail.
    link->setFocus();
    EXPECT_FALSE(link->grab().isNull());
}
