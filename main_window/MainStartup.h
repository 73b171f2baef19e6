#pragma once

class frmMain;

// The start-up of Bramblecot_Main: checks, hand-over to a newer numbered copy, the database list,
// the silent trusted log-on (else the log-on window), the maximized main window and the start-up
// check of the user's own record. Returns the shown main window, or nothing when the program
// ends instead (a failed check, a hand-over, Exit in the log-on window).
frmMain* Main();
