/* Reference: the obvious program. One getchar and one printf per byte. */
#include <stdio.h>

int main(void) {
  printf("Enter String: ");
  int c;
  while ((c = getchar()) != EOF && c != '\n')
    printf(c >= 'a' && c <= 'z' ? "Single lowercase letter\n" : "Not a single lowercase letter");
  return 0;
}
