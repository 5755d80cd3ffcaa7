#pragma once
// The Qt boundary: internal GBK byte strings to and from QString.
#include <QString>
#include <string>
#include <string_view>

namespace quovella {

QString toQt(std::string_view gbk);
std::string fromQt(const QString& text);

}  // namespace quovella
