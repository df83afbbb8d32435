#include "fonts.h"

#include <QFont>
#include <QStringList>

namespace zavo::ui {

void installFontSubstitutions() {
    const QStringList gothic{QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                             QStringLiteral("Noto Sans CJK JP")};
    // Measured in the clock label (193 px, 11.25 pt italic): Noto Serif CJK
    // JP leaves the widest Japanese clock text four columns short of the
    // edge; IPAPMincho's italic slant runs past it. IPAPMincho stays as the
    // fallback where fonts-noto-cjk is missing.
    const QStringList mincho{QStringLiteral("MS PMincho"), QStringLiteral("Noto Serif CJK JP"),
                             QStringLiteral("IPAPMincho")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), mincho);
}

} // namespace zavo::ui
