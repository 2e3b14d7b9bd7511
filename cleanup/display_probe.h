// Lets the S3 display chip's support driver repair its registry entries
// before setup begins: loading it is enough to make it look for the board.
#pragma once

void ProbeDisplayDriver();
