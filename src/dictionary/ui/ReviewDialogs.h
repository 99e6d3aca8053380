#pragma once
// Plugs the dictionary review dialogs into the main window's commands.
void RegisterReviewDialogs();
