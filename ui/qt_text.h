#pragma once
// The Qt boundary: internal GBK byte strings to and from QString.
#include <QString>
#include <string>
#include <string_view>

namespace quovella {

QString toQt(std::string_view gbk);
// What a cell can show: no cell is wider than a screen, and laying out a megabyte of text
// on every paint would hold the window up, so only the first few thousand bytes go.
QString toQtShown(std::string_view gbk);
std::string fromQt(const QString& text);

}  // namespace quovella
