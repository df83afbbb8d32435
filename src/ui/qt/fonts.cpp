#include "fonts.h"

#include <QFont>
#include <QStringList>

namespace zavo::ui {

void installFontSubstitutions() {
    const QStringList gothic{QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                             QStringLiteral("Noto Sans CJK JP")};
    const QStringList mincho{QStringLiteral("MS PMincho"), QStringLiteral("IPAPMincho"),
                             QStringLiteral("Noto Serif CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), mincho);
}

} // namespace zavo::ui
