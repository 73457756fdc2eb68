// Message codes the system itself sends.
#ifndef _APP_DEFS_H
#define _APP_DEFS_H

enum {
	B_QUIT_REQUESTED = '_QRQ',
	B_NO_REPLY = '_NRP',
	B_MESSAGE_NOT_UNDERSTOOD = '_NUN'
};

#endif // _APP_DEFS_H
