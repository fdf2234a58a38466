// Put ahead of the node program. V8 compiles the module with its baseline
// compiler and then, in the background, compiles the busy functions again
// with its optimizing one. For a session of the program the second pass costs
// more than it saves (the long benchmark session takes a third less time
// without it), so the baseline code is kept.
require('v8').setFlagsFromString('--liftoff-only');
