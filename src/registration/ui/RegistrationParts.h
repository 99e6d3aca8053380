#pragma once
// The window's part of registration: the ribbon's "단어 등록" and "도메인 등록" open the
// registration dialog, and the registration functions get their proposal dialog and wait cursor.
void RegisterRegistrationParts();
