// What the tool knows of the product it installs and removes.
#pragma once

// The product's name: key and display name of its uninstall entry, and the
// name of its Start-menu subfolder.
inline const char ProductName[] = "Orvola";

// Where the product's files are put before the tool completes the
// installation.
inline const char InstallDirectory[] = "C:\\Program Files\\Orvola";

// The caption of every box of the removal.
inline const char RemovalCaption[] = "Odinstalace programu Orvola";
