#include <Node.h>

#include <unistd.h>

BNode::BNode()
	: fFd(-1), fCStatus(B_NO_INIT)
{
}

BNode::~BNode()
{
	Unset();
}

status_t BNode::InitCheck() const
{
	return fCStatus;
}

void BNode::Unset()
{
	if (fFd >= 0) {
		// Linux frees the descriptor even when close is interrupted, so it
		// is never closed twice.
		close(fFd);
	}
	fFd = -1;
	fCStatus = B_NO_INIT;
}
