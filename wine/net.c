/* wine/net.c: the net.exe of the Wine prefix that the run command uses.
 * Wine's own net.exe has no SEND: it prints its syntax and still exits with 0, so Mirolt would
 * report a message as sent that went nowhere. This one says why nothing can be sent and fails,
 * with the exit code 2 that net.exe gives for an error. */
#include <windows.h>
#include <stdio.h>

int main(void)
{
    fputs("NET SEND is not available under Wine: there is no Messenger service to deliver the message.\n", stderr);
    return 2;
}
