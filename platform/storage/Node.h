// A node of the file system held open: the base that BFile shares with the
// platform's other nodes. The stand-in has only what a file needs of it.
#ifndef _NODE_H
#define _NODE_H

#include <SupportDefs.h>

class BNode {
public:
	BNode();
	virtual ~BNode();

	// B_OK once a node is open; otherwise why it could not be opened, or
	// B_NO_INIT.
	status_t InitCheck() const;
	// Closes the node; InitCheck gives B_NO_INIT again.
	void Unset();

private:
	friend class BFile;

	BNode(const BNode &);
	BNode &operator=(const BNode &);

	int fFd;
	status_t fCStatus;
};

#endif // _NODE_H
