// Message codes the system itself sends.
#ifndef _APP_DEFS_H
#define _APP_DEFS_H

enum {
	B_QUIT_REQUESTED = '_QRQ',
	B_MESSAGE_NOT_UNDERSTOOD = 'MNOT',
	B_NO_REPLY = 'NONE'
};

#endif // _APP_DEFS_H
