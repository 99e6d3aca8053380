#pragma once
// What the program says when the machine runs out of room: disk, file size or memory.
#include <QString>

namespace ResourceText {
inline const QString kNoSpace = QStringLiteral("디스크 공간이 부족하거나 파일 크기 제한을 넘었습니다");
inline const QString kNoMemory = QStringLiteral("메모리가 부족합니다");

// kNoMemory with the figures of this process: the most address space it held and its limit.
QString NoMemory();
} // namespace ResourceText
