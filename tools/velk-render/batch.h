#pragma once
// velk-render --batch: every *.svg of a folder to a PNG of the same name in another
// folder, on worker threads; a file that fails is reported and the others go on.

#include "tools/velk-render/render_options.h"

namespace velk {

// Renders the folder Command.Input into Command.Output (created when missing) with
// Command.Jobs threads (one per core when 0). Progress goes to standard error: a
// rewritten "[n/N] name" line on a terminal, nothing otherwise; every failure as
// "velk-render: FILE: message", then a summary. Returns RenderExitOK when every file
// was rendered, RenderExitFailed otherwise. Fonts must be set up before.
int RunRenderBatch(const TRenderCommand& Command);

} // namespace velk
