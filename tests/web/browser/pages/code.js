var unused = 1;
