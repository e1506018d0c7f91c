#pragma once
// Covers database work of the management window runs on a thread of its
// own, so that the window keeps repainting and its progress bar moves while
// a large file is read, written or merged.  The window blocks its own input
// meanwhile: the work uses the window's database.
#include <QString>

#include <functional>

#include "core/Result.h"
#include "covers/ReplaceFlow.h"

class QObject;
class QProgressBar;
class TProgress;

// Runs `work` off the window thread and returns when it has ended; until
// then the window thread handles events and the bar shows the progress.
void RunOffWindowThread(TProgress& progress, QProgressBar* bar, const std::function<void()>& work);

// The same questions, asked on the thread of `context` (the window's) by a
// work that runs on another; the work waits for the answer.
TReplacePrompts AskOnWindowThread(QObject* context, const TReplacePrompts& prompts);

// What the user reads of a failure, in the chosen language: "Could not read
// file /x/mavelo.cdb: the file is damaged: it stops partway".
QString FailureText(const TFailure& failure);
