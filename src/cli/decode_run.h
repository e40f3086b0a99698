#pragma once
// One decode from the command line: started, watched for Ctrl-C, waited for.

#include "cli/terminal.h"
#include "decoder/decode_job.h"

namespace kestrel::cli {

// Runs the decode to its end on the decode thread; an interrupt aborts it after the current
// chunk, which leaves a valid WAV file of what was rendered.
DecodeOutcome DecodeUntilDone(DecodeRequest request, const InterruptFlag& interrupt);

}  // namespace kestrel::cli
