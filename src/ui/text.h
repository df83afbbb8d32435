#pragma once

#include <QString>

#include <string>

namespace zavo::ui {
inline QString qstr(const std::u16string& s) {
    return QString::fromStdU16String(s);
}
inline QString qstr(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
inline std::string utf8(const QString& s) {
    return s.toStdString();
}
inline std::u16string u16(const QString& s) {
    return s.toStdU16String();
}
} // namespace zavo::ui
