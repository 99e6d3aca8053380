#pragma once
// What every subcommand's parser needs of its arguments.
#include <QString>
#include <QStringList>

namespace CommandArgs {

// The value after the option at args[i], with i moved onto it; false with the message when the
// command line ends at the option.
inline bool TakeValue(const QStringList& args, int& i, QString& target, QString& problem)
{
    if (i + 1 >= args.size()) {
        problem = QStringLiteral("%1 다음에 값이 필요합니다").arg(args[i]);
        return false;
    }
    target = args[++i];
    return true;
}

} // namespace CommandArgs
