// Control and template identifiers shared by Launchboard.rc and the dialog procedures.
#pragma once
