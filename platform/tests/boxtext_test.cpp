#include "platform/boxtext.h"

#include <gtest/gtest.h>

using platform::boxText;
using platform::MaxBoxTextLength;

TEST(BoxText, ShortTextIsShownWhole)
{
    const QString text = QStringLiteral("לא ניתן לפתוח את הקובץ: /x/y.pdf\nNo such file");
    EXPECT_EQ(boxText(text), text);
    const QString atTheBound(MaxBoxTextLength, QLatin1Char('a'));
    EXPECT_EQ(boxText(atTheBound), atTheBound);
}

TEST(BoxText, HugeTextIsCutWithAnEllipsis)
{
    // A message naming a path of 25 million characters once took minutes to lay out.
    const QString huge = QStringLiteral("לא ניתן ליצור את הקובץ: ") + QString(25'000'000, QLatin1Char('x'));
    const QString shown = boxText(huge);
    EXPECT_EQ(shown.size(), MaxBoxTextLength + 1);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("לא ניתן ליצור את הקובץ: xxx")));
    EXPECT_EQ(shown.back(), QChar(0x2026));
}

TEST(BoxText, CutNeverSplitsACharacter)
{
    // A character beyond the basic plane is two UTF-16 units; the cut keeps both or neither.
    QString text(MaxBoxTextLength - 1, QLatin1Char('a'));
    text += QString::fromUcs4(U"\U0001F4D6\U0001F4D6");
    const QString shown = boxText(text);
    EXPECT_EQ(shown, QString(MaxBoxTextLength - 1, QLatin1Char('a')) + QChar(0x2026));
}
