#pragma once

// Registers every layout style's print procedure with the print window's dispatch. Called once
// at start-up, before the print window prints.
void registerLayoutStyles();
