#pragma once
// Puts every test program in the same surroundings: UTC, a private runtime
// folder, Qt's offscreen platform.
void SetUpTestEnvironment();
