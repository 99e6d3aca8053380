#pragma once
// Entry: the desktop program without arguments, the command line with a sub-command.
namespace termwise {
int RunMain(int argc, char** argv);
}
