#pragma once

// Makes bakdata/ and then data/ in the program folder when missing; failures are not reported
// (a later use of the folder fails where it happens).
void CreateProgramFolders();
