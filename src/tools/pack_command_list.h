// The commands of vemba_pack, one line each, in help order. Each entry names
// a function `PackCommand pack_command_<name>()` defined in the command's own
// pack_<name>.cc. This list is included with VEMBA_PACK_COMMAND defined by
// the includer, so it deliberately has no include guard.
VEMBA_PACK_COMMAND(scramble)
VEMBA_PACK_COMMAND(descramble)
VEMBA_PACK_COMMAND(missing)
VEMBA_PACK_COMMAND(check)
VEMBA_PACK_COMMAND(explain)
VEMBA_PACK_COMMAND(import)
VEMBA_PACK_COMMAND(audit)
