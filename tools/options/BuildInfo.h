#pragma once

// What a build was made from, written into the build when it is made.

// The project's version, "1.0.0".
const char* buildVersion();
// "commit <hash>", with " (modified)" when the checkout had changes not committed; or why
// there is none (a source tree that is not a git checkout).
const char* buildCommitLine();
