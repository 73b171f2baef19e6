#pragma once

// How the field controls show to screen readers and to tools that drive the program through the
// desktop's accessibility bus: the box the user types into or chooses from carries the field's
// good name and the field's value; the field control around it is a plain container with no name
// of its own (a frame there would be announced as one more window). Installed once, by the first
// field control made.
void InstallFieldAccessibility();
